#pragma once

#include <QString>

// The width of a program file or library, read from its header without loading it: a process can only
// load files of its own width, and the system's refusal does not always say that this is why.
namespace FormatBinaire {

// 32 or 64 for a PE (Windows) or ELF file; 0 when the file cannot be read or is neither.
int bits(const QString& fichier);
// The width of the running program.
constexpr int bitsProgramme()
{
    return static_cast<int>(sizeof(void*) * 8);
}

} // namespace FormatBinaire
