#include "sortieconsole.h"

#include <io.h>
#include <windows.h>

namespace {

// A windowed program has no console of its own, and no standard output unless it was redirected: what it
// prints then goes to the console of the program that started it, if there is one, borrowed on first need.
HANDLE consoleEmpruntee()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return INVALID_HANDLE_VALUE;
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

} // namespace

namespace SortieConsole {

void ecrire(std::FILE* flux, const QString& texte)
{
    std::fflush(flux);
    // A windowed program started without redirection has no descriptor behind its standard streams at all.
    const int descripteur = _fileno(flux);
    auto poignee =
        descripteur >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(descripteur)) : INVALID_HANDLE_VALUE;
    if (poignee == INVALID_HANDLE_VALUE || poignee == nullptr || GetFileType(poignee) == FILE_TYPE_UNKNOWN)
        poignee = consoleEmpruntee();
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
