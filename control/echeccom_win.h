#pragma once

#include "echec.h"

#include <oaidl.h>
#include <windows.h>

// The one place where what a COM call answered becomes the failure the operator sees, with the number and
// description the automation runtime of such tools gives:
// - a control's own error (FACILITY_CONTROL, 0x800A0000 + n) is n;
// - DISP_E_EXCEPTION is its wCode, else its scode read by these same rules, with the control's description;
// - the dispatch errors keep their run-time numbers (438 member missing, 13 type mismatch, 6 overflow, 450
//   argument count, 449 argument missing, 7 memory, 5 invalid argument, 429 class not registered);
// - any other code is its signed 32-bit value (E_UNEXPECTED is -2147418113), described "Erreur Automation"
//   and the system's text for it, a French one where the system has none.
// `exception` may be null; it is only read, not freed.
Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception);

// The number alone, by the rules above.
int numeroDepuisHresult(HRESULT resultat);

// A control that cannot be created (class not registered, creation refused, not a dispatch object): 429,
// saying that no control is registered under `progId` when none is.
Echec echecCreation(HRESULT resultat, const QString& progId);

// The system's own text for an HRESULT, empty when it has none.
QString texteSysteme(HRESULT resultat);
