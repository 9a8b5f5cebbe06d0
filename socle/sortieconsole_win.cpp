#include "sortieconsole.h"

#include <io.h>
#include <windows.h>

namespace SortieConsole {

void ecrire(std::FILE* flux, const QString& texte)
{
    std::fflush(flux);
    const auto poignee = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(flux)));
    DWORD mode = 0;
    if (poignee != INVALID_HANDLE_VALUE && GetConsoleMode(poignee, &mode)) {
        QString affiche = texte;
        affiche.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        DWORD ecrits = 0;
        WriteConsoleW(poignee, affiche.utf16(), static_cast<DWORD>(affiche.size()), &ecrits, nullptr);
        return;
    }
    // The C library turns each line end into CR LF, as a redirected Windows program's output has it.
    const QByteArray octets = texte.toUtf8();
    std::fwrite(octets.constData(), 1, static_cast<std::size_t>(octets.size()), flux);
    std::fflush(flux);
}

void ecrireLigne(std::FILE* flux, const QString& texte)
{
    ecrire(flux, texte + QLatin1Char('\n'));
}

bool estTerminal(std::FILE* flux)
{
    const auto poignee = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(flux)));
    DWORD mode = 0;
    return poignee != INVALID_HANDLE_VALUE && GetConsoleMode(poignee, &mode);
}

} // namespace SortieConsole
