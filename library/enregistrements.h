#pragma once

/* Records exchanged with the classification library, every field one text handle. On 32-bit systems a
 * handle takes 4 bytes and the records measure 12, 8 and 20 bytes (fields at offsets 0, 4, 8, ...); on
 * 64-bit systems a handle is pointer-sized and the offsets double. */

#include "automation.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct EnregistrementListe
{
    TexteAuto texte1;
    TexteAuto texte2;
    TexteAuto texte3; /* never shown by the tool */
} EnregistrementListe;

typedef struct EnregistrementPrix
{
    TexteAuto texte1;
    TexteAuto texte2;
} EnregistrementPrix;

typedef struct EnregistrementPriseEnCharge
{
    TexteAuto texte1;
    TexteAuto texte2;
    TexteAuto texte3;
    TexteAuto texte4;
    TexteAuto texte5;
} EnregistrementPriseEnCharge;

#ifdef __cplusplus
}

static_assert(sizeof(EnregistrementListe) == 3 * sizeof(TexteAuto));
static_assert(sizeof(EnregistrementPrix) == 2 * sizeof(TexteAuto));
static_assert(sizeof(EnregistrementPriseEnCharge) == 5 * sizeof(TexteAuto));
// A handle is pointer-sized: the closed 32-bit library's records measure 12, 8 and 20 bytes, a 64-bit
// build's 24, 16 and 40.
static_assert(sizeof(TexteAuto) == sizeof(void*));
#endif
