#pragma once

#include <QStringList>

class JournalAppels;
class RapportVerification;
struct OptionsVerifier;

// tarvo-verifier --balayage: the acts of `liste` (of its part the options' --tranche names, checked already)
// swept through the library (balayagetarvo.h) with the
// options' date and grid, the library in a worker process of this program (superviseurbalayage.h) so that a
// crash or a hang of one call costs its act only. `journal` (may be null) gets a "debut" and a "balayage",
// every call announced then answered with its act's code, a "plantage" or "blocage" where the worker died or
// hung, then a "fin_balayage", complete even when Ctrl+C stops the sweep. Progress goes to the standard
// error, the answers out of contract and the crashes to the standard output once the sweep ends, and the
// last line of the standard error sums the run. Returns the exit status: 0 when the connection succeeded and
// every call answered within the contract, 1 when the connection failed, an answer broke the contract, a
// call crashed or hung, or the sweep was stopped, 2 when the library or an entry point is missing.
int executerBalayage(const OptionsVerifier& options, const QStringList& liste, JournalAppels* journal,
                     RapportVerification& rapport);

// tarvo-verifier --travailleur: the worker's side, acts read from the standard input.
int executerTravailleurBalayage(const OptionsVerifier& options);
