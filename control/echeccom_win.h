#pragma once

#include "echec.h"

#include <oaidl.h>
#include <windows.h>

// The one place where what a COM call answered becomes the failure the operator sees, with the number and
// description the automation runtime of such tools gives:
// - a control's own error (FACILITY_CONTROL, 0x800A0000 + n) is n, described by the control, else by the
//   runtime's text for n (erreursexecution.h), else "Erreur définie par l'application ou par l'objet";
// - DISP_E_EXCEPTION is its wCode, else its scode read by these same rules, with the control's description;
// - the codes the runtime has numbers for keep them, with its texts (438 member missing, 13 type mismatch,
//   458 unsupported type, 448 named argument missing, 446 no named arguments, 6 overflow, 450 argument
//   count, 449 argument missing, 9, 10, 11, 447, 451, 7 memory, 5 invalid argument, 430 no such interface,
//   70 access denied, 429 class not registered);
// - any other code is its signed 32-bit value (E_UNEXPECTED is -2147418113), described "Erreur Automation"
//   and the system's text for it, a French one where the system has none.
struct RetourInvoke
{
    HRESULT resultat = S_OK;
    const EXCEPINFO* exception = nullptr; // only read, not freed; may be null
    // What GetErrorInfo gave once the call failed (the thread's error object, cleared before the call): a
    // control that describes its failure there rather than in EXCEPINFO is read the same. May be null.
    IErrorInfo* informations = nullptr;
    // puArgErr as the callee left it; an index past `nombreArguments` when it did not say.
    UINT argumentFautif = ~0u;
    UINT nombreArguments = 0;
};
Echec echecDepuisInvoke(const RetourInvoke& retour);

// A code alone, without EXCEPINFO nor error object.
Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception = nullptr);

// The number alone, by the rules above.
int numeroDepuisHresult(HRESULT resultat);

// A control that cannot be created (class not registered, creation refused, not a dispatch object): 429,
// saying that no control is registered under `progId` when none is.
Echec echecCreation(HRESULT resultat, const QString& progId);

// The system's own text for an HRESULT, empty when it has none.
QString texteSysteme(HRESULT resultat);
