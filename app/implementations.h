#pragma once

#include "controledispatch.h"

class AppelsSequence;
class SondeSysteme;

// What the window's program runs against, chosen once, in main: the control's factory, the system probe of
// the configuration path and the library the test sequence calls. Nothing below the program picks one itself.
struct Implementations
{
    FabriqueControle fabriqueControle;
    const SondeSysteme& sonde;
    AppelsSequence& bibliotheque;
};
