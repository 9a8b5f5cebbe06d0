#pragma once

// Exit statuses of banc-ccam, the same three for every run. A comparison and a diagnostic end with their
// own (IssueComparaison, StatutDiagnostic), which keep these values.
namespace StatutBanc {
// The run went to its end: every step played, every command ended, or the window closed as usual.
inline constexpr int Abouti = 0;
// It ran, but not to its end: a step could not be played, a command failed, the sweep was stopped, or the
// window could not open.
inline constexpr int NonAbouti = 1;
// Nothing ran: the command line is refused (an option, a control this system cannot host, a journal that
// cannot be written).
inline constexpr int LigneRefusee = 2;
// Nothing ran and no journal was written: the scenario or the list of acts is malformed.
inline constexpr int FichierMalForme = 2;
} // namespace StatutBanc
