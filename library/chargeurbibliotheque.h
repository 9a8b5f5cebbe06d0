#pragma once

#include <QString>

// Loads the classification library and finds its entry points; one implementation per platform. The
// current directory is never searched: a library planted there would run with the operator's rights.
namespace ChargeurBibliotheque {

using Fonction = void (*)();

struct Ouverture
{
    void* poignee = nullptr; // null on failure
    QString fichier;         // the file loaded, or the files tried
    QString raison;          // the system's reason when poignee is null
};

// nom is the library's base name ("TarvoLib"). With an empty chemin the search is the directory of the
// running executable, then the system's own search by bare file name (on Windows the application's
// directory and System32); otherwise chemin, which must be absolute, is loaded and nothing else.
Ouverture ouvrir(const QString& nom, const QString& chemin);
// The full path of the file the system really loaded (a bare name resolved by its search); empty when the
// system cannot tell.
QString cheminComplet(void* poignee);
// Null when missing, with the system's reason.
Fonction symbole(void* poignee, const char* nom, QString& raison);
void fermer(void* poignee);

} // namespace ChargeurBibliotheque
