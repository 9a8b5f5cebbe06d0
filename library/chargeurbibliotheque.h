#pragma once

#include <QString>

// Loads the classification library and finds its entry points. The search's policy is written once
// (chargeurbibliotheque.cpp) over each system's calls (chargeursysteme.h, one file per platform). The current
// directory is never searched: a library planted there would run with the operator's rights.
namespace ChargeurBibliotheque {

using Fonction = void (*)();

struct Ouverture
{
    void* poignee = nullptr; // null on failure
    QString fichier;         // the full path loaded; on failure the file found, or the name looked for
    int numero = 0; // on failure: Echec::FichierIntrouvable, or Echec::ChargementImpossible for a file found
                    // that cannot be loaded
    QString raison; // on failure: what the operator reads, places searched or the system's reason
};

// nom is the library's base name ("TarvoLib"). With an empty chemin, the system's search by name without the
// current directory: on Windows the program's folder, the system folders and PATH, the first file found
// loaded by its full path (its own dependencies searched beside it, then the same way); elsewhere the
// program's folder, then dlopen's search. Otherwise chemin, which must be absolute, is
// loaded and nothing else.
Ouverture ouvrir(const QString& nom, const QString& chemin);
// The library's file name on this system ("TarvoLib.dll", "libTarvoLib.so").
QString nomFichier(const QString& nom);
// The full path of the file the system really loaded (a bare name resolved by its search); empty when the
// system cannot tell.
QString cheminComplet(void* poignee);
// Null when missing, with the system's reason.
Fonction symbole(void* poignee, const char* nom, QString& raison);
void fermer(void* poignee);

} // namespace ChargeurBibliotheque
