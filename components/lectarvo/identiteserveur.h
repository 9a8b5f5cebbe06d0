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

// The type library the server describes itself with (built in memory, typesctltarvo.h): the control's
// dispatch interface _ctlTarvo and its events' interface __ctlTarvo, ours alone as the class identifier is.
inline constexpr GUID LibidLectTarvo = {
    0xf971e188, 0xbd9a, 0x4c9d, {0x9c, 0x28, 0x61, 0x84, 0xd6, 0x08, 0x0d, 0xd4}};
inline constexpr IID IidCtlTarvo = {
    0xf701b691, 0xc628, 0x4c6a, {0x97, 0xff, 0xb8, 0x6c, 0x15, 0x5a, 0xd3, 0x10}};
inline constexpr IID IidEvenementsCtlTarvo = {
    0xb881ad03, 0xb904, 0x45d1, {0x81, 0x34, 0x68, 0x13, 0xf9, 0x03, 0x23, 0xd8}};
