#pragma once

#include "listecodes.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the companion's command line asks for, every value already checked: a refused line calls nothing.
struct OptionsVerifier
{
    QString dateReference; // AAAAMMJJ
    QString grilleTarifaire;
    QString cheminBibliotheque; // empty: the library search
    QString cheminJournal;      // empty: no journal
    std::optional<QString>
        listeActes; // --balayage: the list's file ("-": the standard input); none: the sequence
    bool tousPointsEntree = false;
    // --delai-appel: how long a call of the sweep may take before its worker is ended.
    int delaiAppelS = 30;
    // --tranche: only this part of the list is swept.
    std::optional<Tranche> tranche;
    // --parallele: the sweep's worker processes.
    int parallele = 1;
    // The sweep's worker process: acts read from the standard input, the journal and the worker's messages
    // written to the standard output (superviseurbalayage.h). Not shown in the help: the sweep starts it.
    bool travailleur = false;
};

// The options, or nothing when the program is to end at once with `statut` (help shown, or a refused line
// explained on the standard error).
std::optional<OptionsVerifier> lireOptionsVerifier(const QStringList& arguments, int& statut);
