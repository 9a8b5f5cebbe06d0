#pragma once

#include "enregistrements.h"

#include <QString>
#include <QStringList>

// The classification library's entry points, under their exported names. The library ("TarvoLib":
// libTarvoLib.so, TarvoLib.dll) is loaded on the first call of any of them and then stays loaded; each
// entry point is looked up on its own first call. Texts go in the system's narrow code page, converted
// just before the call and released just after; arrays go by reference, so the library may resize,
// replace and fill them. Signatures, and our own library's behaviour: tarvolib.h beside this file.
//
// A library no search finds throws Echec(FichierIntrouvable) naming where it looked, one found that cannot be
// loaded Echec(ChargementImpossible), an entry point missing from it Echec(PointEntreeIntrouvable); the
// descriptions name the file or entry point and the system's reason.
namespace tarvo {

// Loads exactly this file (a relative path is taken from the current directory now) instead of searching for
// the library, from the next call on; empty restores the search. Unloads the library loaded so far. For tests
// and the companion's option only: the window never calls it.
void definirCheminBibliotheque(const QString& chemin);
// The full path of the file the library was loaded from (as the system resolved it); empty while not loaded.
QString fichierCharge();
// Our library's failure code by name and meaning ("TARVO_BASE_INTROUVABLE : ..."); empty for any other value,
// which another library may use for a meaning of its own.
QString descriptionCode(qint32 code);
// The 39 exported names, in their declaration order.
QStringList nomsPointsEntree();
// Looks up one entry point by name, loading the library if needed; throws like the calls.
void verifierPointEntree(const QString& nom);

qint32 Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3, const QString& repertoire);
qint32 DeConnection_Tarvo();
qint32 GetLastError_Tarvo();
qint32 Version_Tarvo();

qint32 SetString_Tarvo(const QString& texte);
// Reads at most taille - 1 bytes of the library's current string into texte.
qint32 GetString_Tarvo(QString& texte, qint32 taille);
qint32 GetLenString_Tarvo();

qint32 Libelle_Tarvo(const QString& code);
qint32 LibelleLong_Tarvo(const QString& code);
qint32 Type_Tarvo(const QString& code);
qint32 IsSRT_Tarvo(const QString& code, const QString& grille, const QString& date);
qint32 Activite_Tarvo(const QString& code, TableauAuto*& liste);
qint32 Phase_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste);
qint32 LibelleActivite_Tarvo(const QString& code, qint32 activite);
qint32 GetCodeRegroupement_Tarvo(const QString& code, qint32 activite);
qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite, qint32 phase,
                                           const QString& date, const QString& grille, TableauAuto*& prix);
qint32 GetPriseEnCharge_Tarvo(const QString& code, const QString& date, TableauAuto*& priseEnCharge);

qint32 ListeModificateurs_Tarvo(TableauAuto*& liste);
qint32 GetModificateurActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste);
qint32 GetModificateurActeDate_Tarvo(const QString& code, qint32 activite, const QString& date,
                                     TableauAuto*& liste);
qint32 GetModificateurMontant_Tarvo(const QString& modificateur, const QString& code, const QString& date,
                                    const QString& grille);

qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste);
qint32 ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste);
qint32 ListeCodeAssociationActeDate_Tarvo(const QString& code, qint32 activite, const QString& date,
                                          TableauAuto*& liste);

qint32 RechercheCodeLexico_Tarvo(const QString& texte, const QString& date, TableauAuto*& liste);
qint32 RechercheParCode_Tarvo(const QString& debutCode, const QString& date, TableauAuto*& liste);
qint32 RechercheCodeParPas_Tarvo(const QString& texte, qint32 premier, qint32 nombre, TableauAuto*& liste);
qint32 ListeCodesParSpecialite_Tarvo(qint32 specialite, TableauAuto*& liste);

qint32 LibelleSpecialite_Tarvo(qint32 specialite);
qint32 TestCodeSpecialite_Tarvo(qint32 specialite);

qint32 ArbreNoeudCode_Tarvo(const QString& noeud, TableauAuto*& liste);
qint32 NoeudCode_Tarvo(const QString& noeud, const QString& date, TableauAuto*& liste);
qint32 ArborescenceCode_Tarvo(const QString& code, TableauAuto*& liste);

qint32 Note_Tarvo(const QString& code);
qint32 NoteNoeud_Tarvo(const QString& noeud);
qint32 DicoTopographie_Tarvo(TableauAuto*& liste);
qint32 DicoModeAcces_Tarvo(TableauAuto*& liste);
qint32 DicoAction_Tarvo(TableauAuto*& liste);
qint32 ActionARendre_Tarvo(const QString& code);

} // namespace tarvo
