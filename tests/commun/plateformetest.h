#pragma once

#include <QString>

// What the tests ask of the system they run on; one file per platform.
namespace PlateformeTest {

// True under Wine, whose automation runtime and loader differ from Windows in a few documented points.
bool sousWine();

// How many times the process has loaded a shared library so far, as the system's loader counts them (on
// Windows, from the loader's notifications, counted from the first call of this function on).
unsigned long long nombreDeChargements();

// Whether the library at `fichier` is still mapped in the process.
bool bibliothequeChargee(const QString& fichier);

// Writes at `chemin` a minimal shared library of the other width than this process (a 64-bit DLL for the
// 32-bit Windows build, a 32-bit DLL for the 64-bit one, a 32-bit ELF object here), which the system finds
// by name but cannot load.
bool ecrireBibliothequeAutreLargeur(const QString& chemin);

} // namespace PlateformeTest
