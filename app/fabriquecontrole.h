#pragma once

#include "controledispatch.h"

// The act-selection control this system hosts: on Windows the registered COM control "LectTarvo.ctlTarvo",
// reached through IDispatch; elsewhere our own component, in process. Callers see only ControleDispatch.
FabriqueControle fabriqueControlePlateforme();

// The ProgID the Windows factory creates.
inline constexpr char16_t progIdCtlTarvo[] = u"LectTarvo.ctlTarvo";
