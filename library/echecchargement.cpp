#include "echecchargement.h"

#include "formatbinaire.h"

#include <QDir>

namespace EchecChargement {

QString introuvable(const QString& fichier, const QStringList& lieux)
{
    QString texte = QStringLiteral("Fichier introuvable : %1").arg(QDir::toNativeSeparators(fichier));
    if (!lieux.isEmpty())
        texte += QStringLiteral(" (cherché dans : %1)").arg(lieux.join(QStringLiteral(" ; ")));
    return texte;
}

QString chargementImpossible(const QString& nomFichier, const QString& trouve, const QString& raisonSysteme)
{
    if (trouve.isEmpty())
        return QStringLiteral("Erreur dans le chargement de la DLL : %1 ou l'une de ses dépendances : %2")
            .arg(nomFichier, raisonSysteme);
    const QString natif = QDir::toNativeSeparators(trouve);
    const int bits = FormatBinaire::bits(trouve);
    // A width mismatch is the first thing to say: the system's own text for it rarely names it.
    if (bits != 0 && bits != FormatBinaire::bitsProgramme())
        return QStringLiteral(
                   "Erreur dans le chargement de la DLL : %1 est un fichier %2 bits, qu'un programme "
                   "%3 bits ne peut pas charger")
            .arg(natif)
            .arg(bits)
            .arg(FormatBinaire::bitsProgramme());
    return QStringLiteral("Erreur dans le chargement de la DLL : %1 ou l'une de ses dépendances (%2) : %3")
        .arg(nomFichier, natif, raisonSysteme);
}

} // namespace EchecChargement
