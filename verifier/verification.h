#pragma once

#include <QString>

class AppelsSequence;
class RapportVerification;
class ServiceMessages;
struct OptionsVerifier;

// Exit statuses of the companion.
namespace StatutVerification {
inline constexpr int Reussie = 0;
inline constexpr int ConnexionEchouee = 1;
// --balayage: swept, but not all well: the connection failed, an answer broke the contract, or Ctrl+C.
inline constexpr int BalayageNonConforme = 1;
inline constexpr int NonVerifiee = 2;
} // namespace StatutVerification

// Runs the library test sequence through `appels` with the options' date and grid, tells `rapport` each step
// as it ends, then checks the 39 entry points when asked. Returns the exit status.
int executerVerification(const OptionsVerifier& options, ServiceMessages& messages, AppelsSequence& appels,
                         RapportVerification& rapport);

// The reason the library gives for a failed connection, from its current string (GetLenString_Tarvo,
// GetString_Tarvo); empty when it gives none or lacks those entry points. Read only after a failure.
QString raisonConnexionTarvo();
