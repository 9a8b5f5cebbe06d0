#pragma once

#include "balayage.h"
#include "comparaisonjournaux.h"
#include "listecodes.h"
#include "statutbanc.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

enum class ModeBanc
{
    Fenetre,     // no mode option: the window, left to the operator
    Scenario,    // --scenario
    Balayage,    // --balayage
    Comparaison, // --comparer
    Diagnostic,  // --diagnostic
    Travailleur, // --travailleur: a sweep's worker process, started by the sweep
};

// What the tool's command line asks for, every option checked against the others and every value against
// what it may be; the files it names are not opened yet.
struct OptionsBanc
{
    ModeBanc mode = ModeBanc::Fenetre;
    QString controle;                     // as given; empty: the platform's default control
    std::optional<QString> cheminJournal; // "-": the standard output
    QString cheminScenario;
    ReponseBoiteNative::Mode boitesNatives = ReponseBoiteNative::Mode::Defaut; // --boites-natives
    QString listeActes;                                                        // "-": the standard input
    ParametresBalayage balayage;    // everything but the codes, which the list holds
    std::optional<Tranche> tranche; // --tranche: the part of the list swept
    QString journalA;
    QString journalB;
    OptionsComparaison comparaison;
};

// A command line that runs nothing: the help asked for (status 0, for the standard output), or why the line
// is refused (StatutBanc::LigneRefusee, for the standard error).
struct FinLigneBanc
{
    int statut;
    QString texte;
};

// Reads QCoreApplication::arguments() (the program's name first). On Windows "/?" is "--help".
std::variant<OptionsBanc, FinLigneBanc> lireOptionsBanc(const QStringList& arguments);

// The application a run needs, which must be known before it exists: the platform is chosen then.
enum class ApplicationBanc
{
    SansWidgets, // the help, the comparison and a sweep (its worker holds the window)
    HorsEcran,   // a scenario (unless --fenetre), a sweep's worker, the diagnostic: widgets never shown
    Ecran,
};

// Read from the raw command line with the same options as lireOptionsBanc. A line it refuses still gets the
// application its options ask for: Qt takes its own (-platform...) only once the application exists.
ApplicationBanc applicationDemandee(int argc, const char* const argv[]);
