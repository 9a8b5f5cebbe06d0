#pragma once

#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on

// The type library of our control, as a control of its era carries one: the coclass ctlTarvo (our class
// identifier), its dispatch interface _ctlTarvo with the 22 members at their fixed identifiers, and its
// default source interface __ctlTarvo with the events it fires (tablemembres.h). Written at run time with the
// system's CreateTypeLib2 and never saved: the server hands it out through IDispatch::GetTypeInfo and
// IProvideClassInfo. Null when the system cannot build it (the server then describes itself as before).
Microsoft::WRL::ComPtr<ITypeLib> bibliothequeTypesCtlTarvo();
