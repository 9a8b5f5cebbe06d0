#pragma once

#include <QString>
#include <cstdio>

// What our console programs print. A Windows console shows UTF-16 as it is (whatever its code page);
// redirected to a file or a pipe, every system gets UTF-8 from us, the encoding our journals use too.
// Elsewhere the locale's encoding, as the terminal expects. One file per platform.
namespace SortieConsole {

// Writes texte then a line end, and flushes.
void ecrireLigne(std::FILE* flux, const QString& texte);
// Without the line end.
void ecrire(std::FILE* flux, const QString& texte);
// Whether flux is a terminal (a console on Windows), where a progress bar may redraw its line.
bool estTerminal(std::FILE* flux);

} // namespace SortieConsole
