#pragma once

#include "echec.h"

#include <oaidl.h>
#include <windows.h>

// The one place where what a COM call answered becomes the failure the operator sees: the number and
// description the control runtime of such tools gives. An exception raised by the control
// (DISP_E_EXCEPTION) keeps its own number and description; the dispatch errors take their usual
// run-time numbers (438 member missing, 13 type mismatch, 6 overflow, 450 argument count, 7 memory)
// with the system's text. `exception` may be null; it is only read, not freed.
Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception, const QString& membre);

// A control that cannot be created (class not registered, creation refused, not a dispatch object): 429
// with the system's text.
Echec echecCreation(HRESULT resultat, const QString& progId);

// The system's own text for an HRESULT, empty when it has none.
QString texteSysteme(HRESULT resultat);
