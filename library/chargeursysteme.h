#pragma once

#include <QString>
#include <QStringList>

// What each system gives the library search, whose policy is written once in chargeurbibliotheque.cpp: the
// system calls only, one file per platform (chargeurbibliotheque_posix.cpp, chargeurbibliotheque_win.cpp).
namespace ChargeurSysteme {

// Takes the current directory out of the system's own search, for the library and the libraries it needs.
void exclureRepertoireCourant();
// The folders the search walks, in the system's order, before the system's own search by name.
QStringList dossiersRecherche();
// Loads the file at this full path, its own dependencies found as the system finds them for it; null with the
// system's reason.
void* charger(const QString& fichier, QString& raison);

// The system's own search by bare name, once no folder walked holds the file.
struct RechercheParNom
{
    void* poignee = nullptr;
    bool absente = false; // no file of that name, rather than one that cannot be loaded
    QStringList lieux;    // where the system looked, for the operator
    QString raison;       // the system's reason when nothing was loaded
};
RechercheParNom chargerParNom(const QString& fichier);

} // namespace ChargeurSysteme
