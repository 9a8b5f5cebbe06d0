#pragma once

#include "controledispatch.h"

#include <QString>

class AppelsSequence;
class QString;
class SondeSysteme;

// Gives the factory of the control `--controle` names (empty: the platform's default), or an empty one and
// the reason in `erreur`.
using ChoixControle = FabriqueControle (*)(const QString& nom, QString& erreur);

// What the window's program runs against, chosen once, in main: how the control is chosen, the system probe
// of the configuration path, the library the test sequence calls, and the ProgID the default control is
// registered under (what the diagnostic and the journal look up in the registry). Nothing below the program
// picks one itself.
struct Implementations
{
    ChoixControle choixControle;
    const SondeSysteme& sonde;
    AppelsSequence& bibliotheque;
    QString progIdControle;
};
