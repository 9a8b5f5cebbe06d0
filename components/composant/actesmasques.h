#pragma once

#include "magasinccam.h"

#include <QString>

// What the dialog says about the acts the query context hides, the same words in the search and in the
// chapters: "12 actes masqués par la spécialité 06", or, for several reasons, "14 actes masqués : 12 par
// la spécialité 06, 2 par la date du 01/01/2025". Empty when nothing is hidden.
QString texteActesMasques(const ActesMasques& masques, const ContexteRequete& contexte);
