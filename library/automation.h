#pragma once

/* Automation types exchanged with the classification library: length-prefixed UTF-16 texts and
 * one-dimensional safe arrays of records made only of texts.
 *
 * One allocator for everybody: the tool, our library and the test libraries all link the one shared
 * library that implements this interface (libBancAutomation.so; BancAutomation.dll on Windows, where it
 * forwards to the system's automation functions). A text or an array allocated on one side can thus be
 * freed on the other, as the library contract requires. */

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(BANC_AUTOMATION_CONSTRUCTION)
#define BANC_AUTOMATION_EXPORT __declspec(dllexport)
#else
#define BANC_AUTOMATION_EXPORT __declspec(dllimport)
#endif
#else
#define BANC_AUTOMATION_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
typedef char16_t CaractereAuto;
#else
typedef uint_least16_t CaractereAuto;
#endif

/* A text handle points at its first character; the 4 bytes before it hold the length in bytes and a
 * zero character follows the last one. The null handle is the empty text. */
typedef CaractereAuto* TexteAuto;

/* Copies longueur characters of caracteres (zero characters when caracteres is null). Null when the
 * memory is short or the length does not fit the 4-byte prefix. */
BANC_AUTOMATION_EXPORT TexteAuto texteAutoAllouer(const CaractereAuto* caracteres, uint32_t longueur);
/* Null-safe. */
BANC_AUTOMATION_EXPORT void texteAutoLiberer(TexteAuto texte);
/* In characters; 0 for the null handle. */
BANC_AUTOMATION_EXPORT uint32_t texteAutoLongueur(TexteAuto texte);

typedef struct BorneTableauAuto
{
    uint32_t nombre;         /* records held */
    int32_t borneInferieure; /* index of the first record */
} BorneTableauAuto;

/* Same layout as the system's safe array descriptor. Every record is a row of text handles, so the
 * array can release the texts it holds without knowing the record's type. */
typedef struct TableauAuto
{
    uint16_t nombreDimensions;
    uint16_t options;
    uint32_t tailleElement; /* bytes per record, a multiple of sizeof(TexteAuto) */
    uint32_t verrous;
    void* donnees;
    BorneTableauAuto bornes[1];
} TableauAuto;

typedef enum ResultatAuto
{
    AutoReussi = 0,
    AutoArgumentInvalide = -1,
    AutoMemoireInsuffisante = -2,
    AutoTableauVerrouille = -3
} ResultatAuto;

/* A one-dimensional array of nombre records of tailleElement bytes from borneInferieure, every text
 * null. Null on invalid arguments (size 0 or not a multiple of a text handle) or short memory. */
BANC_AUTOMATION_EXPORT TableauAuto* tableauAutoCreer(uint32_t tailleElement, int32_t borneInferieure,
                                                     uint32_t nombre);
/* Keeps the first min(old, new) records, frees the texts of the dropped ones, gives null texts to the
 * new ones. On failure the array is left as it was. */
BANC_AUTOMATION_EXPORT int32_t tableauAutoRedimensionner(TableauAuto* tableau, int32_t borneInferieure,
                                                         uint32_t nombre);
/* Frees every text held, the records and the descriptor. Null-safe; refused while locked. */
BANC_AUTOMATION_EXPORT int32_t tableauAutoDetruire(TableauAuto* tableau);
BANC_AUTOMATION_EXPORT int32_t tableauAutoVerrouiller(TableauAuto* tableau);
BANC_AUTOMATION_EXPORT int32_t tableauAutoDeverrouiller(TableauAuto* tableau);

#ifdef __cplusplus
}
#endif
