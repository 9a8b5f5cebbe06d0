#pragma once

// clang-format off
#include <windows.h>
// clang-format on
#include <string>

// The key under which classes are registered: a root and the path below it.
struct CleClasses
{
    HKEY racine;
    std::wstring chemin;
};

// Where regsvr32 puts the server: the machine's classes (HKLM\Software\Classes) for an elevated process,
// else the user's own (HKCU\Software\Classes), which need no administrator rights.
CleClasses cleClasses(bool processusEleve);
// Whether this process runs elevated; false when the system cannot tell (the user's classes then).
bool processusEleve();

// Writes, below `cle`: CLSID\{clsid} (readable name), its InprocServer32 (the module's full path,
// ThreadingModel Apartment) and ProgID, and the ProgID's key with its CLSID. When a step fails, what was
// written is removed again and the system's error is returned.
HRESULT enregistrerServeur(const CleClasses& cle, const std::wstring& cheminModule);
// Removes exactly those keys; the ProgID's key only while it still names this server's class. S_OK when
// nothing was registered.
HRESULT desenregistrerServeur(const CleClasses& cle);
