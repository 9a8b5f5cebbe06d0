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

/* The 39 entry points, in the order the module declares them (the order the tool checks and reports them in):
 * X(name, (parameters)), each parameter written by its kind so that the tool can derive its own wrappers from
 * the same list: TEXTE(name) a text in, ENTIER(name) an int32_t, TABLEAU(name) an array by reference,
 * TAMPON(name) a buffer the library writes, its size in bytes following. Every entry point returns an
 * int32_t. TARVOLIB_POINTS_ENTREE_C gives the parameters in C. components/tarvolib/TarvoLib.def is the copy
 * the Windows linker needs, checked against this list by the tests. */
#define TARVOLIB_POINTS_ENTREE(X, TEXTE, ENTIER, TABLEAU, TAMPON)                                            \
    /* Short label of the act into the current string; its length, 0 for an unknown act. */                  \
    X(Libelle_Tarvo, (TEXTE(code)))                                                                          \
    /* Opens the CCAM store; reopens it when already open. The three integers are accepted whatever their    \
     * value (the tool sends 0, 1, 0). The database is, in this order: the file BANC_CCAM_BASE names when    \
     * set; the sample "ccam-echantillon.sqlite" inside repertoire when that file exists (repertoire is the  \
     * caller's configuration directory, usually without one); the sample beside the library itself.         \
     * 1 when open; TARVO_BASE_INTROUVABLE when the database cannot be opened, its reason then in the        \
     * current string and no connection left open. */                                                        \
    X(Connection_Tarvo, (ENTIER(reserve1), ENTIER(reserve2), ENTIER(reserve3), TEXTE(repertoire)))           \
    /* Closes the store. 0; TARVO_NON_CONNECTE when nothing was open. */                                     \
    X(DeConnection_Tarvo, ())                                                                                \
    /* 0 or the TARVO_* code of the last call that failed since. */                                          \
    X(GetLastError_Tarvo, ())                                                                                \
    /* Long label of the act into the current string; its length, 0 for an unknown act. */                   \
    X(LibelleLong_Tarvo, (TEXTE(code)))                                                                      \
    /* The search of RechercheCodeLexico_Tarvo for today, a page at a time: results premier to premier +     \
     * nombre - 1 (from 0), nombre at most 500; TARVO_ARGUMENT_INVALIDE for premier < 0 or nombre outside    \
     * 1..500. */                                                                                            \
    X(RechercheCodeParPas_Tarvo, (TEXTE(texte), ENTIER(premier), ENTIER(nombre), TABLEAU(liste)))            \
    /* Acts valid on the date whose code starts with the text, then acts whose labels hold every word of it  \
     * as a word prefix, at most 50: EnregistrementListe {code, short label, long label}. */                 \
    X(RechercheCodeLexico_Tarvo, (TEXTE(texte), TEXTE(date), TABLEAU(liste)))                                \
    /* Not available: the store keeps no notes. */                                                           \
    X(Note_Tarvo, (TEXTE(code)))                                                                             \
    /* Data version of the open store into the current string; its length. */                                \
    X(Version_Tarvo, ())                                                                                     \
    /* Not available: the store keeps no notes. */                                                           \
    X(NoteNoeud_Tarvo, (TEXTE(noeud)))                                                                       \
    /* Not available: the store keeps none of the coding dictionaries. */                                    \
    X(DicoTopographie_Tarvo, (TABLEAU(liste)))                                                               \
    /* Not available, as DicoTopographie_Tarvo. */                                                           \
    X(DicoModeAcces_Tarvo, (TABLEAU(liste)))                                                                 \
    /* Not available, as DicoTopographie_Tarvo. */                                                           \
    X(DicoAction_Tarvo, (TABLEAU(liste)))                                                                    \
    /* Not available, as DicoTopographie_Tarvo. */                                                           \
    X(ActionARendre_Tarvo, (TEXTE(code)))                                                                    \
    /* Chapter nodes below the node (null or empty: the top chapters): EnregistrementListe {node code,       \
     * label, stratum "01.02.00.00"}. */                                                                     \
    X(ArbreNoeudCode_Tarvo, (TEXTE(noeud), TABLEAU(liste)))                                                  \
    /* Acts attached to the node, valid on the date: EnregistrementListe {code, short label, long label}. */ \
    X(NoeudCode_Tarvo, (TEXTE(noeud), TEXTE(date), TABLEAU(liste)))                                          \
    /* The acts of RechercheCodeLexico_Tarvo's search whose code starts with debutCode (case ignored). */    \
    X(RechercheParCode_Tarvo, (TEXTE(debutCode), TEXTE(date), TABLEAU(liste)))                               \
    /* 1 when the act has a non-zero price in force in the grid on the date, else 0. */                      \
    X(IsSRT_Tarvo, (TEXTE(code), TEXTE(grille), TEXTE(date)))                                                \
    /* Act type: 0 isolated act, 1 procedure, 2 complementary act; TARVO_CODE_INCONNU for an unknown act. */ \
    X(Type_Tarvo, (TEXTE(code)))                                                                             \
    /* Activities of the act: EnregistrementListe {activity number, its label, regrouping code or empty}. */ \
    X(Activite_Tarvo, (TEXTE(code), TABLEAU(liste)))                                                         \
    /* Phases of one activity: EnregistrementListe {phase number, relative cost index or empty, empty}. */   \
    X(Phase_Tarvo, (TEXTE(code), ENTIER(activite), TABLEAU(liste)))                                          \
    /* Label of the specialty into the current string; its length, 0 for an unknown specialty. */            \
    X(LibelleSpecialite_Tarvo, (ENTIER(specialite)))                                                         \
    /* Label of one of the act's activities into the current string; its length, 0 when the act lacks it. */ \
    X(LibelleActivite_Tarvo, (TEXTE(code), ENTIER(activite)))                                                \
    /* 1 when the specialty is known, else 0. */                                                             \
    X(TestCodeSpecialite_Tarvo, (ENTIER(specialite)))                                                        \
    /* The node holding the act, then its ancestors up to the first level: EnregistrementListe {node code,   \
     * label, stratum}. */                                                                                   \
    X(ArborescenceCode_Tarvo, (TEXTE(code), TABLEAU(liste)))                                                 \
    /* Every modifier: EnregistrementListe {code, label, empty}. */                                          \
    X(ListeModificateurs_Tarvo, (TABLEAU(liste)))                                                            \
    /* Modifiers the act allows for the activity: EnregistrementListe {code, label, empty}. */               \
    X(GetModificateurActe_Tarvo, (TEXTE(code), ENTIER(activite), TABLEAU(liste)))                            \
    /* Sets the current string (null: empty); its length. Needs no connection. */                            \
    X(SetString_Tarvo, (TEXTE(texte)))                                                                       \
    /* Copies the current string into tampon, at most taille - 1 bytes then a zero (a long text is cut at a  \
     * byte, possibly inside a character); the bytes copied. TARVO_ARGUMENT_INVALIDE for a null tampon or a  \
     * taille of 0 or less. Needs no connection. */                                                          \
    X(GetString_Tarvo, (TAMPON(tampon), ENTIER(taille)))                                                     \
    /* Length in bytes of the current string, without the zero. Needs no connection. */                      \
    X(GetLenString_Tarvo, ())                                                                                \
    /* Not available: the store does not index acts by specialty. */                                         \
    X(ListeCodesParSpecialite_Tarvo, (ENTIER(specialite), TABLEAU(liste)))                                   \
    /* As GetModificateurActe_Tarvo, 0 records when the act is not valid on the date. */                     \
    X(GetModificateurActeDate_Tarvo, (TEXTE(code), ENTIER(activite), TEXTE(date), TABLEAU(liste)))           \
    /* Regrouping code of the act for the activity into the current string; its length, 0 when none. */      \
    X(GetCodeRegroupement_Tarvo, (TEXTE(code), ENTIER(activite)))                                            \
    /* Unit price of the act, activity and phase in the grid on the date: one EnregistrementPrix {price in   \
     * cents, grid}; 0 records when no price is in force. */                                                 \
    X(GetPrixUnitaireActeSupplement_Tarvo,                                                                   \
      (TEXTE(code), ENTIER(activite), ENTIER(phase), TEXTE(date), TEXTE(grille), TABLEAU(prix)))             \
    /* Not available: the store holds no modifier amounts. */                                                \
    X(GetModificateurMontant_Tarvo, (TEXTE(modificateur), TEXTE(code), TEXTE(date), TEXTE(grille)))          \
    /* Acts that may go with the act for the activity: EnregistrementListe {code, short label, empty}. */    \
    X(ListeCodeAssociationActe_Tarvo, (TEXTE(code), ENTIER(activite), TABLEAU(liste)))                       \
    /* Acts that cannot go with the act: EnregistrementListe {code, short label, empty}. */                  \
    X(ListeCodeIncompatibilitesActe_Tarvo, (TEXTE(code), TABLEAU(liste)))                                    \
    /* Coverage of the act on the date: one EnregistrementPriseEnCharge {coverage code, its label,           \
     * reimbursement code, its label, coverage-condition notes}; 0 records when the act is unknown or not    \
     * valid on the date. */                                                                                 \
    X(GetPriseEnCharge_Tarvo, (TEXTE(code), TEXTE(date), TABLEAU(priseEnCharge)))                            \
    /* As ListeCodeAssociationActe_Tarvo, keeping only related acts valid on the date. */                    \
    X(ListeCodeAssociationActeDate_Tarvo, (TEXTE(code), ENTIER(activite), TEXTE(date), TABLEAU(liste)))

#define TARVOLIB_TEXTE_C(nom) const char* nom
#define TARVOLIB_ENTIER_C(nom) int32_t nom
#define TARVOLIB_TABLEAU_C(nom) TableauAuto** nom
#define TARVOLIB_TAMPON_C(nom) char* nom
#define TARVOLIB_POINTS_ENTREE_C(X)                                                                          \
    TARVOLIB_POINTS_ENTREE(X, TARVOLIB_TEXTE_C, TARVOLIB_ENTIER_C, TARVOLIB_TABLEAU_C, TARVOLIB_TAMPON_C)

#ifdef __cplusplus
extern "C" {
#endif

#define TARVOLIB_DECLARER(nom, parametres) TARVOLIB_EXPORT int32_t TARVO_APPEL nom parametres;
TARVOLIB_POINTS_ENTREE_C(TARVOLIB_DECLARER)
#undef TARVOLIB_DECLARER

#ifdef __cplusplus
}
#endif
