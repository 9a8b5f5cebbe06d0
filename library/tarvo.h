#pragma once

#include "tarvolib.h"

#include <QString>
#include <QStringList>

// The classification library's entry points, under their exported names. The library ("TarvoLib":
// libTarvoLib.so, TarvoLib.dll) is loaded on the first call of any of them and then stays loaded; each
// entry point is looked up on its own first call. Texts go in the system's narrow code page, converted
// just before the call and released just after; arrays go by reference, so the library may resize,
// replace and fill them. Signatures, and our own library's behaviour: tarvolib.h beside this file.
//
// A library no search finds throws Echec(FichierIntrouvable) naming where it looked, one found that cannot be
// loaded Echec(ChargementImpossible), an entry point missing from it Echec(PointEntreeIntrouvable); the
// descriptions name the file or entry point and the system's reason.
namespace tarvo {

// Loads exactly this file (a relative path is taken from the current directory now) instead of searching for
// the library, from the next call on; empty restores the search. Unloads the library loaded so far. For tests
// and the companion's option only: the window never calls it.
void definirCheminBibliotheque(const QString& chemin);
// The full path of the file the library was loaded from (as the system resolved it); empty while not loaded.
QString fichierCharge();
// Our library's failure code by name and meaning ("TARVO_BASE_INTROUVABLE : ..."); empty for any other value,
// which another library may use for a meaning of its own.
QString descriptionCode(qint32 code);
// The 39 exported names, in the order of the list in tarvolib.h.
QStringList nomsPointsEntree();
// Looks up one entry point by name, loading the library if needed; throws like the calls.
void verifierPointEntree(const QString& nom);

#define TARVO_TEXTE_OUTIL(nom) const QString& nom
#define TARVO_ENTIER_OUTIL(nom) qint32 nom
#define TARVO_TABLEAU_OUTIL(nom) TableauAuto*& nom
// GetString_Tarvo reads at most taille - 1 bytes of the library's current string into this text.
#define TARVO_TAMPON_OUTIL(nom) QString& nom
// The list of tarvolib.h with each parameter as the tool passes it.
#define TARVO_POINTS_ENTREE_OUTIL(X)                                                                         \
    TARVOLIB_POINTS_ENTREE(X, TARVO_TEXTE_OUTIL, TARVO_ENTIER_OUTIL, TARVO_TABLEAU_OUTIL, TARVO_TAMPON_OUTIL)

// Each wrapper is a reference to the function tarvo.cpp makes for its list of parameters.
// clang-format off
#define TARVO_DECLARER(nom, parametres) extern qint32 (&nom) parametres;
// clang-format on
TARVO_POINTS_ENTREE_OUTIL(TARVO_DECLARER)
#undef TARVO_DECLARER

} // namespace tarvo
