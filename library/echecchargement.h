#pragma once

#include <QString>
#include <QStringList>

// The failures of a library that does not load (Echec::FichierIntrouvable, Echec::ChargementImpossible),
// numbered and worded as the runtime of such tools words them, the same on every system.
namespace EchecChargement {

// 53: no file of that name where the search looked; `lieux` are the folders, in the search's order.
QString introuvable(const QString& fichier, const QStringList& lieux);
// 48 for a file that exists: its width when it is not the program's, else the name and its dependencies
// with the system's reason. `trouve` is empty when the system's own search found the file and did not say
// where.
QString chargementImpossible(const QString& nomFichier, const QString& trouve, const QString& raisonSysteme);

} // namespace EchecChargement
