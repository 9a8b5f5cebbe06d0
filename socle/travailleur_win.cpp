#include "travailleur.h"

#include <windows.h>

namespace {

// The process ends at once with the exception's code, which the supervisor reads as its exit code: no
// debugger is looked for, no report written.
LONG WINAPI terminerSurException(EXCEPTION_POINTERS* exception)
{
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void preparerTravailleur()
{
    // No system box ever: a crash, a missing DLL or a corrupt file ends the call, not the night.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetConsoleCtrlHandler(nullptr, TRUE);
    SetUnhandledExceptionFilter(terminerSurException);
}

FinTravailleur lireFinTravailleur(bool, int code)
{
    // An unhandled exception ends a process with its code (0xC0000005 for an access violation).
    const auto valeur = static_cast<quint32>(code);
    if (valeur >= 0x80000000u)
        return {QStringLiteral("0x") + QString::number(valeur, 16).toUpper(), {}};
    return {QString::number(code), {}};
}
