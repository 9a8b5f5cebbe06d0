#pragma once

/* TarvoLib: the classification library's C interface as this tool calls it (libTarvoLib.so; TarvoLib.dll on
 * Windows, 32-bit, stdcall, exported under bare names). The tool owns these declarations: a library, ours
 * (components/tarvolib) or another, builds against them. What each entry point does is documented as our
 * library does it; the real library is bound only by the names, the argument order and kinds, the returned
 * count and the records.
 *
 * Conventions shared by every entry point
 * - Every entry point returns a 32-bit signed integer. Queries return the number of records delivered or a
 *   length; 0 or less means nothing was delivered. The negative values are the TARVO_* codes below.
 * - Texts in are zero-terminated strings in the system's narrow code page (the ANSI code page on Windows). A
 * null text is read as the empty text; an unknown or empty act code gives 0 records.
 * - Dates are "YYYYMMDD"; an empty date means today. Tariff grids are "000" to "019".
 * - Arrays go by reference (TableauAuto**). The library frees whatever the array held, sizes it to the
 *   records it delivers from index 0 (lower bound 0) and fills every text; the caller frees the array and its
 *   texts with tableauAutoDetruire (automation.h: one allocator for both sides). A null array variable gets a
 *   new array; an array of another record type is destroyed and replaced. A null reference, or an unsuitable
 *   array that is locked, gives TARVO_ARGUMENT_INVALIDE and the array is left alone. On any failure (count
 *   0 or less) the array is left as it was, except that a query finding nothing empties it.
 * - The texts of one query (labels, version, regrouping code) are answered in the library's "current
 *   string": the entry point returns its length in bytes, GetLenString_Tarvo and GetString_Tarvo read it.
 * - Without an open connection every query answers TARVO_NON_CONNECTE and leaves its array alone.
 * - Entry points marked "not available" always answer TARVO_NON_DISPONIBLE: the store has no such data.
 * - GetLastError_Tarvo gives the code of the last failure (0 after a call that succeeded).
 * - Calls are serialised: the library may be called from several threads, one call at a time. */

#include "automation.h"
#include "enregistrements.h"

#include <stdint.h>

#if defined(_WIN32)
#define TARVO_APPEL __stdcall
#if defined(TARVOLIB_EXPORTS_DEF)
/* TarvoLib.def lists the exports under their bare names. */
#define TARVOLIB_EXPORT
#elif defined(TARVOLIB_CONSTRUCTION)
#define TARVOLIB_EXPORT __declspec(dllexport)
#else
#define TARVOLIB_EXPORT __declspec(dllimport)
#endif
#else
#define TARVO_APPEL
#define TARVOLIB_EXPORT __attribute__((visibility("default")))
#endif

#define TARVO_NON_CONNECTE (-1)
#define TARVO_NON_DISPONIBLE (-2)
#define TARVO_ARGUMENT_INVALIDE (-3)
#define TARVO_ERREUR_INTERNE (-4)
#define TARVO_BASE_INTROUVABLE (-5)
#define TARVO_CODE_INCONNU (-6)

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Connection ---- */

/* Opens the CCAM store; reopens it when already open. The three integers are accepted whatever their value
 * (the tool sends 0, 1, 0). The database is, in this order: the file BANC_CCAM_BASE names when set; the
 * sample "ccam-echantillon.sqlite" inside repertoire when that file exists (repertoire is the caller's
 * configuration directory, usually without one); the sample beside the library itself.
 * 1 when open; TARVO_BASE_INTROUVABLE when the database cannot be opened, its reason then in the current
 * string and no connection left open. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Connection_Tarvo(int32_t reserve1, int32_t reserve2, int32_t reserve3,
                                                     const char* repertoire);
/* Closes the store. 0; TARVO_NON_CONNECTE when nothing was open. */
TARVOLIB_EXPORT int32_t TARVO_APPEL DeConnection_Tarvo(void);
/* 0 or the TARVO_* code of the last call that failed since. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetLastError_Tarvo(void);
/* Data version of the open store into the current string; its length. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Version_Tarvo(void);

/* ---- The current string ---- */

/* Sets the current string (null: empty); its length. Needs no connection. */
TARVOLIB_EXPORT int32_t TARVO_APPEL SetString_Tarvo(const char* texte);
/* Copies the current string into tampon, at most taille - 1 bytes then a zero (a long text is cut at a
 * byte, possibly inside a character); the bytes copied. TARVO_ARGUMENT_INVALIDE for a null tampon or a
 * taille of 0 or less. Needs no connection. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetString_Tarvo(char* tampon, int32_t taille);
/* Length in bytes of the current string, without the zero. Needs no connection. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetLenString_Tarvo(void);

/* ---- One act ---- */

/* Short label of the act into the current string; its length, 0 for an unknown act. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Libelle_Tarvo(const char* code);
/* Long label of the act into the current string; its length, 0 for an unknown act. */
TARVOLIB_EXPORT int32_t TARVO_APPEL LibelleLong_Tarvo(const char* code);
/* Act type: 0 isolated act, 1 procedure, 2 complementary act; TARVO_CODE_INCONNU for an unknown act. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Type_Tarvo(const char* code);
/* 1 when the act has a non-zero price in force in the grid on the date, else 0. */
TARVOLIB_EXPORT int32_t TARVO_APPEL IsSRT_Tarvo(const char* code, const char* grille, const char* date);
/* Activities of the act: EnregistrementListe {activity number, its label, regrouping code or empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Activite_Tarvo(const char* code, TableauAuto** liste);
/* Phases of one activity: EnregistrementListe {phase number, relative cost index or empty, empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL Phase_Tarvo(const char* code, int32_t activite, TableauAuto** liste);
/* Label of one of the act's activities into the current string; its length, 0 when the act lacks it. */
TARVOLIB_EXPORT int32_t TARVO_APPEL LibelleActivite_Tarvo(const char* code, int32_t activite);
/* Regrouping code of the act for the activity into the current string; its length, 0 when none. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetCodeRegroupement_Tarvo(const char* code, int32_t activite);
/* Unit price of the act, activity and phase in the grid on the date: one EnregistrementPrix {price in
 * cents, grid}; 0 records when no price is in force. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetPrixUnitaireActeSupplement_Tarvo(const char* code, int32_t activite,
                                                                        int32_t phase, const char* date,
                                                                        const char* grille,
                                                                        TableauAuto** prix);
/* Coverage of the act on the date: one EnregistrementPriseEnCharge {coverage code, its label, reimbursement
 * code, its label, coverage-condition notes}; 0 records when the act is unknown or not valid on the date. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetPriseEnCharge_Tarvo(const char* code, const char* date,
                                                           TableauAuto** priseEnCharge);

/* ---- Modifiers ---- */

/* Every modifier: EnregistrementListe {code, label, empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ListeModificateurs_Tarvo(TableauAuto** liste);
/* Modifiers the act allows for the activity: EnregistrementListe {code, label, empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetModificateurActe_Tarvo(const char* code, int32_t activite,
                                                              TableauAuto** liste);
/* Same, 0 records when the act is not valid on the date. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetModificateurActeDate_Tarvo(const char* code, int32_t activite,
                                                                  const char* date, TableauAuto** liste);
/* Not available: the store holds no modifier amounts. */
TARVOLIB_EXPORT int32_t TARVO_APPEL GetModificateurMontant_Tarvo(const char* modificateur, const char* code,
                                                                 const char* date, const char* grille);

/* ---- Related acts ---- */

/* Acts that cannot go with the act: EnregistrementListe {code, short label, empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ListeCodeIncompatibilitesActe_Tarvo(const char* code,
                                                                        TableauAuto** liste);
/* Acts that may go with the act for the activity: EnregistrementListe {code, short label, empty}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ListeCodeAssociationActe_Tarvo(const char* code, int32_t activite,
                                                                   TableauAuto** liste);
/* Same, keeping only related acts valid on the date. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ListeCodeAssociationActeDate_Tarvo(const char* code, int32_t activite,
                                                                       const char* date, TableauAuto** liste);

/* ---- Search ---- */

/* Acts valid on the date whose code starts with the text, then acts whose labels hold every word of it as a
 * word prefix, at most 50: EnregistrementListe {code, short label, long label}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL RechercheCodeLexico_Tarvo(const char* texte, const char* date,
                                                              TableauAuto** liste);
/* Only the acts of that search whose code starts with debutCode (case ignored). */
TARVOLIB_EXPORT int32_t TARVO_APPEL RechercheParCode_Tarvo(const char* debutCode, const char* date,
                                                           TableauAuto** liste);
/* The search of RechercheCodeLexico_Tarvo for today, a page at a time: results premier to premier + nombre
 * - 1 (from 0), nombre at most 500; TARVO_ARGUMENT_INVALIDE for premier < 0 or nombre outside 1..500. */
TARVOLIB_EXPORT int32_t TARVO_APPEL RechercheCodeParPas_Tarvo(const char* texte, int32_t premier,
                                                              int32_t nombre, TableauAuto** liste);
/* Not available: the store does not index acts by specialty. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ListeCodesParSpecialite_Tarvo(int32_t specialite, TableauAuto** liste);

/* ---- Specialties ---- */

/* Label of the specialty into the current string; its length, 0 for an unknown specialty. */
TARVOLIB_EXPORT int32_t TARVO_APPEL LibelleSpecialite_Tarvo(int32_t specialite);
/* 1 when the specialty is known, else 0. */
TARVOLIB_EXPORT int32_t TARVO_APPEL TestCodeSpecialite_Tarvo(int32_t specialite);

/* ---- Chapters ---- */

/* Chapter nodes below the node (null or empty: the top chapters): EnregistrementListe {node code, label,
 * stratum "01.02.00.00"}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ArbreNoeudCode_Tarvo(const char* noeud, TableauAuto** liste);
/* Acts attached to the node, valid on the date: EnregistrementListe {code, short label, long label}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL NoeudCode_Tarvo(const char* noeud, const char* date, TableauAuto** liste);
/* The node holding the act, then its ancestors up to the first level: EnregistrementListe {node code,
 * label, stratum}. */
TARVOLIB_EXPORT int32_t TARVO_APPEL ArborescenceCode_Tarvo(const char* code, TableauAuto** liste);

/* ---- Not available: the store keeps neither notes nor the coding dictionaries ---- */

TARVOLIB_EXPORT int32_t TARVO_APPEL Note_Tarvo(const char* code);
TARVOLIB_EXPORT int32_t TARVO_APPEL NoteNoeud_Tarvo(const char* noeud);
TARVOLIB_EXPORT int32_t TARVO_APPEL DicoTopographie_Tarvo(TableauAuto** liste);
TARVOLIB_EXPORT int32_t TARVO_APPEL DicoModeAcces_Tarvo(TableauAuto** liste);
TARVOLIB_EXPORT int32_t TARVO_APPEL DicoAction_Tarvo(TableauAuto** liste);
TARVOLIB_EXPORT int32_t TARVO_APPEL ActionARendre_Tarvo(const char* code);

#ifdef __cplusplus
}
#endif
