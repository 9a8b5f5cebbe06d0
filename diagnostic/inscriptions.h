#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Where a COM class is registered. Windows reads both scopes as one view in which a key of the current user
// wins over the machine's: a control registered for the user under the same ProgID silently takes the
// place of the one installed for every user.
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
};

InscriptionRetenue retenir(const RuchesInscription& ruches);

// The report's lines on the registration ("Inscription : ..."), in French.
QStringList lignesInscription(const InscriptionRetenue& retenue);
