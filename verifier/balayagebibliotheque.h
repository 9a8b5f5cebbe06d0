#pragma once

#include <QStringList>

class AppelsSequence;
class JournalAppels;
class RapportVerification;
struct OptionsVerifier;

// tarvo-verifier --balayage: the acts of `codes` swept through the library (balayagetarvo.h) with the
// options' date and grid. `journal` (may be null) gets a "debut" and a "balayage", every call with its act's
// code, then a "fin_balayage", complete even when Ctrl+C stops the sweep after the current act. Progress goes
// to the standard error, the answers out of contract to the standard output once the sweep ends. Returns the
// exit status: 0 when the connection succeeded and every answer kept the contract, 1 when the connection
// failed, an answer broke the contract or the sweep was stopped, 2 when the library or an entry point is
// missing.
int executerBalayage(const OptionsVerifier& options, const QStringList& codes, AppelsSequence& appels,
                     JournalAppels* journal, RapportVerification& rapport);
