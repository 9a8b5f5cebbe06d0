#pragma once

#include "controledispatch.h"

#include <QString>

class AppelsSequence;
class SondeSysteme;

// What the window's program runs against, chosen once, in main: the control's factory, the system probe of
// the configuration path, the library the test sequence calls, and the ProgID the factory creates (what the
// diagnostic and the journal look up in the registry). Nothing below the program picks one itself.
struct Implementations
{
    FabriqueControle fabriqueControle;
    const SondeSysteme& sonde;
    AppelsSequence& bibliotheque;
    QString progIdControle;
};
