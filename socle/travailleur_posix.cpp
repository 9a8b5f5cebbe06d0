#include "travailleur.h"

#include <csignal>
#include <cstring>
#include <sys/resource.h>

void preparerTravailleur()
{
    std::signal(SIGINT, SIG_IGN);
    // A core file of a large store takes seconds to write; the journal already names the call.
    const rlimit aucun{0, 0};
    setrlimit(RLIMIT_CORE, &aucun);
}

FinTravailleur lireFinTravailleur(bool plante, int code)
{
    if (!plante)
        return {QString::number(code), {}};
    // QProcess gives the signal's number as the exit code of a crash.
    const char* nom = sigabbrev_np(code);
    return {{}, nom ? QStringLiteral("SIG") + QString::fromLatin1(nom) : QString::number(code)};
}
