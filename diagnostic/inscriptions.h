#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Where a COM class is registered. Windows reads both scopes as one view in which a key of the current user
// wins over the machine's: a control registered for the user under the same ProgID silently takes the
// place of the one installed for every user. An elevated process reads the machine's keys alone: the user's
// registration is then ignored, not preferred.
enum class Portee
{
    Aucune,
    Utilisateur,
    Machine,
};

// What one class key holds (CLSID\{...}).
struct InscriptionClasse
{
    QString serveur; // InprocServer32, as written
    QString modeleThreads;
    QString libid;
    QString versionTypes;
};

// What each scope holds for one ProgID: its CLSID, and the class keys of every CLSID met.
struct RuchesInscription
{
    QString clsidUtilisateur; // empty: no ProgID key in that scope
    QString clsidMachine;
    QMap<QString, InscriptionClasse> classesUtilisateur; // by CLSID, upper case
    QMap<QString, InscriptionClasse> classesMachine;
    bool eleve = false; // the process runs elevated
    // Found only when this view of the registry has no ProgID key: the CLSID the other view (the 64-bit one
    // for a 32-bit program, the 32-bit one for a 64-bit program) gives it, and that view's width.
    QString clsidAutreVue;
    int bitsAutreVue = 0;
};

// The registration a client creating the ProgID reaches, and the machine's one it hides if any.
struct InscriptionRetenue
{
    Portee porteeProgId = Portee::Aucune;
    QString clsid;
    Portee porteeClasse = Portee::Aucune;
    InscriptionClasse classe;
    bool masqueMachine = false;
    QString clsidMasque; // the machine's registration that the user's hides
    QString serveurMasque;
    // The user's registration an elevated process ignores, when it has one.
    bool utilisateurIgnore = false;
    QString clsidIgnore;
    QString serveurIgnore;
    // Registered only in the registry's other view, which this program does not see (RuchesInscription).
    QString clsidAutreVue;
    int bitsAutreVue = 0;
};

InscriptionRetenue retenir(const RuchesInscription& ruches);

// The report's lines on the registration ("Inscription : ..."), in French; for a ProgID this view does not
// know, what the other view or the ignored user's scope holds, if anything.
QStringList lignesInscription(const InscriptionRetenue& retenue);
