#pragma once

#include "frminit.h"
#include "sondesysteme.h"

#include <memory>

class ServiceMessages;

// Start of the program: creates frmInit with ctlTarvo1, runs its load, then shows it. A failure on
// the way is reported and the window is never shown: returns nullptr, and the program ends.
std::unique_ptr<FrmInit> demarrerFrmInit(ServiceMessages& messages, const FabriqueControle& fabrique,
                                         const SondeSysteme& sonde, const CommandesFrmInit& commandes);
