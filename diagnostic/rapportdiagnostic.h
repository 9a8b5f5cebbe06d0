#pragma once

#include "ecartsidentifiants.h"
#include "inscriptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the diagnostic found of each component, gathered by the probes of each system, and the report made
// of it: the report alone decides what differs from what the tool expects.

// A program file or library as it sits on disk.
struct FichierComposant
{
    QString chemin; // full path, native separators; empty when unknown
    bool existe = false;
    QString version; // its version resource "a.b.c.d"; empty when it has none
    int bits = 0;    // 32 or 64; 0 when unreadable
};

struct ConstatControle
{
    QString progId;
    bool integre = false; // our component linked into the program (no registration)
    InscriptionRetenue inscription;
    FichierComposant serveur;
    bool notreSubstitut = false;
    bool cree = false;
    QString echecCreation; // the failure's number and description
    QList<EcartIdentifiant> ecarts;
};

struct ConstatBibliotheque
{
    QString nom; // "TarvoLib.dll", "libTarvoLib.so"
    bool chargee = false;
    int numeroEchec = 0;
    QString echec;
    FichierComposant fichier;
    bool notreSubstitut = false;
    QStringList absents;          // entry points missing under their bare name
    QStringList decoresSeulement; // "Connection_Tarvo (seulement _Connection_Tarvo@16)"
    int nombrePoints = 0;         // how many were looked up
};

namespace StatutDiagnostic {
inline constexpr int Conforme = 0;
inline constexpr int Ecarts = 1;
inline constexpr int RienVerifie = 2;
} // namespace StatutDiagnostic

// The report's lines, in French, and its exit status: 0 when both components are as the tool expects, 1 when
// something differs or is missing, 2 when neither could be examined at all. A differing identifier is a line
// of its own, "membre<TAB>0xATTENDU<TAB>0xTROUVÉ", for a script to pick up.
int rapportDiagnostic(const ConstatControle& controle, const ConstatBibliotheque& bibliotheque,
                      int bitsProgramme, QStringList& lignes);
