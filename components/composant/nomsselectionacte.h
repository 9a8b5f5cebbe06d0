#pragma once

#include <QLatin1StringView>

// The object names of the selection dialog and its widgets, by which others find them: the scenario player
// chooses an act through them, the tests and benchmarks drive the dialog with them. The dialog names its
// widgets from here, so a renamed widget cannot leave its finders behind.
namespace NomsSelectionActe {

inline constexpr QLatin1StringView dlgSelectionActe{"dlgSelectionActe"};
inline constexpr QLatin1StringView lblContexte{"lblContexte"};
inline constexpr QLatin1StringView lblRecherche{"lblRecherche"};
inline constexpr QLatin1StringView txtRecherche{"txtRecherche"};
inline constexpr QLatin1StringView lblNombreResultats{"lblNombreResultats"};
inline constexpr QLatin1StringView lblActesMasques{"lblActesMasques"};
inline constexpr QLatin1StringView splSelection{"splSelection"};
inline constexpr QLatin1StringView ongletsSelection{"ongletsSelection"};
inline constexpr QLatin1StringView lstResultats{"lstResultats"};
inline constexpr QLatin1StringView arbreChapitres{"arbreChapitres"};
inline constexpr QLatin1StringView fraDetails{"fraDetails"};
inline constexpr QLatin1StringView lblCodeActe{"lblCodeActe"};
inline constexpr QLatin1StringView lblLibelleActe{"lblLibelleActe"};
inline constexpr QLatin1StringView lblValidite{"lblValidite"};
inline constexpr QLatin1StringView lblActivites{"lblActivites"};
inline constexpr QLatin1StringView lblPrixActe{"lblPrixActe"};
inline constexpr QLatin1StringView lblRegroupement{"lblRegroupement"};
inline constexpr QLatin1StringView boutons{"boutons"};
inline constexpr QLatin1StringView cmdChoisir{"cmdChoisir"};
inline constexpr QLatin1StringView cmdAnnuler{"cmdAnnuler"};

} // namespace NomsSelectionActe
