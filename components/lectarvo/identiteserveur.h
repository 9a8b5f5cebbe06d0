#pragma once

// clang-format off
#include <windows.h>
#include <guiddef.h>
// clang-format on

// The identity under which hosts create our act-selection component. The ProgID is the one the tool asks
// for; the class identifier is ours alone, so registering this server never takes another's.
inline constexpr wchar_t ProgIdCtlTarvo[] = L"LectTarvo.ctlTarvo";
inline constexpr wchar_t TexteClsidCtlTarvo[] = L"{B17E68ED-BC29-49C1-B560-879E09580F45}";
inline constexpr CLSID ClsidCtlTarvo = {
    0xb17e68ed, 0xbc29, 0x49c1, {0xb5, 0x60, 0x87, 0x9e, 0x09, 0x58, 0x0f, 0x45}};
