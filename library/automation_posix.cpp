#include "automation.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

// Our own implementation of the automation functions where the system has none; same layout and rules
// as the system's so that code written against one behaves alike on the other.

namespace {

constexpr std::size_t taillePrefixe = sizeof(uint32_t);

char* debutBloc(TexteAuto texte)
{
    return reinterpret_cast<char*>(texte) - taillePrefixe;
}

bool tailleValide(uint32_t tailleElement)
{
    return tailleElement != 0 && tailleElement % sizeof(TexteAuto) == 0;
}

// Indices must stay within 32 bits: the last one is borneInferieure + nombre - 1.
bool bornesValides(int32_t borneInferieure, uint32_t nombre)
{
    return std::int64_t{borneInferieure} + std::int64_t{nombre} - 1 <= std::numeric_limits<int32_t>::max();
}

bool tailleDonnees(uint32_t tailleElement, uint32_t nombre, std::size_t& taille)
{
    if (nombre != 0 && tailleElement > std::numeric_limits<std::size_t>::max() / nombre)
        return false;
    taille = std::size_t{tailleElement} * nombre;
    return true;
}

void libererTextes(const TableauAuto* tableau, uint32_t premier, uint32_t fin)
{
    const std::size_t textesParEnregistrement = tableau->tailleElement / sizeof(TexteAuto);
    auto* textes = static_cast<TexteAuto*>(tableau->donnees);
    for (std::size_t i = premier * textesParEnregistrement; i < fin * textesParEnregistrement; ++i) {
        texteAutoLiberer(textes[i]);
        textes[i] = nullptr;
    }
}

} // namespace

extern "C" {

TexteAuto texteAutoAllouer(const CaractereAuto* caracteres, uint32_t longueur)
{
    // The prefix holds the length in bytes, so twice the length must fit 32 bits.
    if (longueur > (std::numeric_limits<uint32_t>::max() - taillePrefixe - sizeof(CaractereAuto)) / 2)
        return nullptr;
    const uint32_t octets = longueur * static_cast<uint32_t>(sizeof(CaractereAuto));
    auto* bloc = static_cast<char*>(std::malloc(taillePrefixe + octets + sizeof(CaractereAuto)));
    if (bloc == nullptr)
        return nullptr;
    std::memcpy(bloc, &octets, taillePrefixe);
    auto* texte = reinterpret_cast<TexteAuto>(bloc + taillePrefixe);
    if (caracteres != nullptr)
        std::memcpy(texte, caracteres, octets);
    else
        std::memset(texte, 0, octets);
    texte[longueur] = 0;
    return texte;
}

void texteAutoLiberer(TexteAuto texte)
{
    if (texte != nullptr)
        std::free(debutBloc(texte));
}

uint32_t texteAutoLongueur(TexteAuto texte)
{
    if (texte == nullptr)
        return 0;
    uint32_t octets = 0;
    std::memcpy(&octets, debutBloc(texte), taillePrefixe);
    return octets / static_cast<uint32_t>(sizeof(CaractereAuto));
}

TableauAuto* tableauAutoCreer(uint32_t tailleElement, int32_t borneInferieure, uint32_t nombre)
{
    std::size_t taille = 0;
    if (!tailleValide(tailleElement) || !bornesValides(borneInferieure, nombre) ||
        !tailleDonnees(tailleElement, nombre, taille))
        return nullptr;
    auto* tableau = static_cast<TableauAuto*>(std::calloc(1, sizeof(TableauAuto)));
    if (tableau == nullptr)
        return nullptr;
    if (taille != 0) {
        tableau->donnees = std::calloc(1, taille);
        if (tableau->donnees == nullptr) {
            std::free(tableau);
            return nullptr;
        }
    }
    tableau->nombreDimensions = 1;
    tableau->tailleElement = tailleElement;
    tableau->bornes[0] = {nombre, borneInferieure};
    return tableau;
}

int32_t tableauAutoRedimensionner(TableauAuto* tableau, int32_t borneInferieure, uint32_t nombre)
{
    std::size_t taille = 0;
    if (tableau == nullptr || tableau->nombreDimensions != 1 || !tailleValide(tableau->tailleElement) ||
        !bornesValides(borneInferieure, nombre) || !tailleDonnees(tableau->tailleElement, nombre, taille))
        return AutoArgumentInvalide;
    if (tableau->verrous != 0)
        return AutoTableauVerrouille;

    const uint32_t ancien = tableau->bornes[0].nombre;
    if (nombre == ancien) {
        tableau->bornes[0].borneInferieure = borneInferieure;
        return AutoReussi;
    }
    void* donnees = nullptr;
    if (taille != 0) {
        // Allocated before anything is freed, so a refusal leaves the array untouched.
        donnees = std::calloc(1, taille);
        if (donnees == nullptr)
            return AutoMemoireInsuffisante;
    }
    const uint32_t gardes = nombre < ancien ? nombre : ancien;
    libererTextes(tableau, gardes, ancien);
    if (gardes != 0)
        std::memcpy(donnees, tableau->donnees, std::size_t{gardes} * tableau->tailleElement);
    std::free(tableau->donnees);
    tableau->donnees = donnees;
    tableau->bornes[0] = {nombre, borneInferieure};
    return AutoReussi;
}

int32_t tableauAutoDetruire(TableauAuto* tableau)
{
    if (tableau == nullptr)
        return AutoReussi;
    if (tableau->verrous != 0)
        return AutoTableauVerrouille;
    if (tableau->nombreDimensions == 1 && tailleValide(tableau->tailleElement))
        libererTextes(tableau, 0, tableau->bornes[0].nombre);
    std::free(tableau->donnees);
    std::free(tableau);
    return AutoReussi;
}

int32_t tableauAutoVerrouiller(TableauAuto* tableau)
{
    if (tableau == nullptr)
        return AutoArgumentInvalide;
    ++tableau->verrous;
    return AutoReussi;
}

int32_t tableauAutoDeverrouiller(TableauAuto* tableau)
{
    if (tableau == nullptr || tableau->verrous == 0)
        return AutoArgumentInvalide;
    --tableau->verrous;
    return AutoReussi;
}

} // extern "C"
