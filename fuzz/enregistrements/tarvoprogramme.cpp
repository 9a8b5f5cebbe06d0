// A classification library whose seven entry points of the sequence do what the fuzz target
// programmed: any count, any lower bound, arrays resized, replaced, nulled, of another record type,
// left locked, texts null or of any UTF-16 content. It only ever hands over arrays that keep the
// automation rules (a descriptor that tells the truth, each text held once), as a library must.
#include "programmetarvo.h"
#include "tarvolib.h"

#include <algorithm>

namespace {

struct Etat
{
    ProgrammeTarvo programme;
    Livraisons livraisons;
    std::size_t prochainTexte = 0;
};

Etat& etat()
{
    static Etat instance;
    return instance;
}

TexteAuto nouveauTexte()
{
    Etat& e = etat();
    if (e.programme.textes.empty())
        return nullptr;
    const TexteLivre& t = e.programme.textes[e.prochainTexte++ % e.programme.textes.size()];
    if (!t)
        return nullptr;
    return texteAutoAllouer(t->data(), static_cast<uint32_t>(t->size()));
}

void remplir(TableauAuto* tableau)
{
    if (tableau == nullptr || tableau->donnees == nullptr)
        return;
    const std::size_t textes =
        std::size_t{tableau->bornes[0].nombre} * tableau->tailleElement / sizeof(TexteAuto);
    auto* champs = static_cast<TexteAuto*>(tableau->donnees);
    for (std::size_t i = 0; i < textes; ++i) {
        texteAutoLiberer(champs[i]);
        champs[i] = nouveauTexte();
    }
}

// Frees the array received as a library may; a locked one cannot be freed and stays where it is.
bool detruire(TableauAuto*& tableau)
{
    if (tableauAutoDetruire(tableau) != AutoReussi)
        return false;
    tableau = nullptr;
    return true;
}

Livraison decrire(const TableauAuto* tableau)
{
    Livraison l;
    l.appelee = true;
    if (tableau == nullptr)
        return l;
    l.nul = false;
    l.tailleElement = tableau->tailleElement;
    l.borne = tableau->bornes[0].borneInferieure;
    l.nombre = tableau->bornes[0].nombre;
    if (tableau->donnees != nullptr) {
        const std::size_t textes = std::size_t{l.nombre} * l.tailleElement / sizeof(TexteAuto);
        const auto* champs = static_cast<const TexteAuto*>(tableau->donnees);
        for (std::size_t i = 0; i < textes; ++i)
            l.textes.push_back(champs[i] == nullptr
                                   ? TexteLivre()
                                   : TexteLivre(std::u16string(champs[i], texteAutoLongueur(champs[i]))));
    }
    return l;
}

int32_t repondre(int etape, TableauAuto** reference, int champs)
{
    Etat& e = etat();
    const EtapeProgrammee& p = e.programme.etapes[static_cast<std::size_t>(etape)];
    TableauAuto*& tableau = *reference;
    const uint32_t taille = static_cast<uint32_t>(champs * sizeof(TexteAuto));
    switch (p.mode) {
    case ModeTableau::Redimensionner:
        if (tableau == nullptr)
            tableau = tableauAutoCreer(taille, p.borne, p.livres);
        else
            tableauAutoRedimensionner(tableau, p.borne, p.livres);
        remplir(tableau);
        break;
    case ModeTableau::Remplacer:
        if (detruire(tableau)) {
            tableau = tableauAutoCreer(taille, p.borne, p.livres);
            remplir(tableau);
        }
        break;
    case ModeTableau::Annuler:
        detruire(tableau);
        break;
    case ModeTableau::AutreType: {
        const int autres = std::max(1, champs + p.champsEnPlus);
        if (detruire(tableau)) {
            tableau = tableauAutoCreer(static_cast<uint32_t>(autres * sizeof(TexteAuto)), p.borne, p.livres);
            remplir(tableau);
        }
        break;
    }
    case ModeTableau::Intact:
        break;
    }
    for (uint32_t i = 0; i < p.verrous; ++i)
        tableauAutoVerrouiller(tableau);
    e.livraisons[static_cast<std::size_t>(etape)] = decrire(tableau);
    return p.compte;
}

int32_t compteSeul(int etape)
{
    Etat& e = etat();
    e.livraisons[static_cast<std::size_t>(etape)].appelee = true;
    return e.programme.etapes[static_cast<std::size_t>(etape)].compte;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void FuzzTarvo_Programmer(const ProgrammeTarvo* programme)
{
    Etat& e = etat();
    e.programme = *programme;
    e.livraisons = Livraisons{};
    e.prochainTexte = 0;
}

__attribute__((visibility("default"))) const Livraisons* FuzzTarvo_Livraisons()
{
    return &etat().livraisons;
}

int32_t TARVO_APPEL Connection_Tarvo(int32_t, int32_t, int32_t, const char*)
{
    return compteSeul(1);
}

int32_t TARVO_APPEL ListeModificateurs_Tarvo(TableauAuto** liste)
{
    return repondre(2, liste, 3);
}

int32_t TARVO_APPEL GetPrixUnitaireActeSupplement_Tarvo(const char*, int32_t, int32_t, const char*,
                                                        const char*, TableauAuto** prix)
{
    return repondre(3, prix, 2);
}

int32_t TARVO_APPEL GetPriseEnCharge_Tarvo(const char*, const char*, TableauAuto** priseEnCharge)
{
    return repondre(4, priseEnCharge, 5);
}

int32_t TARVO_APPEL ListeCodeIncompatibilitesActe_Tarvo(const char*, TableauAuto** liste)
{
    return repondre(5, liste, 3);
}

int32_t TARVO_APPEL ListeCodeAssociationActe_Tarvo(const char*, int32_t, TableauAuto** liste)
{
    return repondre(6, liste, 3);
}

int32_t TARVO_APPEL DeConnection_Tarvo(void)
{
    return compteSeul(7);
}

} // extern "C"
