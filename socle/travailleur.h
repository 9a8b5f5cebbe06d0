#pragma once

#include <QString>

// What a sweep's worker process does to itself on each platform, and how the supervisor reads its end.

// Called first thing in a worker: Ctrl+C is left to the supervisor, and a crash ends the process at once,
// with no core file or system box to wait on.
void preparerTravailleur();

// How a worker ended: an exit or exception code, or (POSIX) the signal that killed it.
struct FinTravailleur
{
    QString codeSortie; // "3", or "0xC0000005" for an exception; empty when a signal ended it
    QString signal;     // "SIGSEGV"; empty when it exited
};

// `plante`: QProcess saw a crash exit; `code`: its exit code.
FinTravailleur lireFinTravailleur(bool plante, int code);
