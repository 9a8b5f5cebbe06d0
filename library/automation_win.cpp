#include "automation.h"

// windows.h first: oleauto.h relies on its types.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

// On Windows the texts and arrays are the system's own, so a closed library built against the system
// functions and the tool free each other's allocations. The arrays carry no record description (no
// FADF_RECORD): the texts they hold are released here, record by record, before the system frees the rest.

static_assert(sizeof(CaractereAuto) == sizeof(OLECHAR));
static_assert(sizeof(TableauAuto) == sizeof(SAFEARRAY));
static_assert(sizeof(BorneTableauAuto) == sizeof(SAFEARRAYBOUND));

namespace {

SAFEARRAY* systeme(TableauAuto* tableau)
{
    return reinterpret_cast<SAFEARRAY*>(tableau);
}

BSTR texteSysteme(TexteAuto texte)
{
    return reinterpret_cast<BSTR>(texte);
}

// The system accepts bounds whose last index passes 2^31 - 1, which no caller could then address with a
// 32-bit index: refused here as on every other system.
bool bornesValides(int32_t borneInferieure, uint32_t nombre)
{
    return std::int64_t{borneInferieure} + std::int64_t{nombre} - 1 <= std::numeric_limits<int32_t>::max();
}

bool tailleValide(uint32_t tailleElement)
{
    return tailleElement != 0 && tailleElement % sizeof(TexteAuto) == 0;
}

int32_t resultat(HRESULT hr)
{
    if (SUCCEEDED(hr))
        return AutoReussi;
    if (hr == DISP_E_ARRAYISLOCKED)
        return AutoTableauVerrouille;
    if (hr == E_OUTOFMEMORY)
        return AutoMemoireInsuffisante;
    return AutoArgumentInvalide;
}

TexteAuto* textes(const TableauAuto* tableau)
{
    return static_cast<TexteAuto*>(tableau->donnees);
}

} // namespace

extern "C" {

TexteAuto texteAutoAllouer(const CaractereAuto* caracteres, uint32_t longueur)
{
    BSTR texte = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(caracteres), longueur);
    if (texte != nullptr && caracteres == nullptr)
        ZeroMemory(texte, std::size_t{longueur} * sizeof(OLECHAR));
    return reinterpret_cast<TexteAuto>(texte);
}

void texteAutoLiberer(TexteAuto texte)
{
    SysFreeString(texteSysteme(texte));
}

uint32_t texteAutoLongueur(TexteAuto texte)
{
    return SysStringLen(texteSysteme(texte));
}

TableauAuto* tableauAutoCreer(uint32_t tailleElement, int32_t borneInferieure, uint32_t nombre)
{
    if (!tailleValide(tailleElement) || !bornesValides(borneInferieure, nombre))
        return nullptr;
    SAFEARRAY* tableau = nullptr;
    if (FAILED(SafeArrayAllocDescriptor(1, &tableau)))
        return nullptr;
    tableau->cbElements = tailleElement;
    tableau->rgsabound[0].cElements = nombre;
    tableau->rgsabound[0].lLbound = borneInferieure;
    if (FAILED(SafeArrayAllocData(tableau))) {
        SafeArrayDestroyDescriptor(tableau);
        return nullptr;
    }
    return reinterpret_cast<TableauAuto*>(tableau);
}

int32_t tableauAutoRedimensionner(TableauAuto* tableau, int32_t borneInferieure, uint32_t nombre)
{
    if (tableau == nullptr || tableau->nombreDimensions != 1 || !tailleValide(tableau->tailleElement) ||
        !bornesValides(borneInferieure, nombre))
        return AutoArgumentInvalide;
    if (tableau->verrous != 0)
        return AutoTableauVerrouille;
    const std::size_t parEnregistrement = tableau->tailleElement / sizeof(TexteAuto);
    const uint32_t ancien = tableau->bornes[0].nombre;
    // The dropped texts are taken out before the system resizes: an array that says it holds texts
    // (FADF_BSTR, as one the system or a library of that era made) has them freed by SafeArrayRedim itself,
    // which must then find nothing left to free. They are freed here only once the new size is accepted.
    std::vector<TexteAuto> abandonnes;
    if (nombre < ancien) {
        TexteAuto* premier = textes(tableau) + nombre * parEnregistrement;
        abandonnes.assign(premier, textes(tableau) + ancien * parEnregistrement);
        std::fill(premier, premier + abandonnes.size(), nullptr);
    }
    SAFEARRAYBOUND borne{nombre, borneInferieure};
    const HRESULT hr = SafeArrayRedim(systeme(tableau), &borne);
    if (FAILED(hr)) {
        std::copy(abandonnes.begin(), abandonnes.end(), textes(tableau) + nombre * parEnregistrement);
        return resultat(hr);
    }
    for (TexteAuto texte : abandonnes)
        SysFreeString(texteSysteme(texte));
    if (nombre > ancien)
        ZeroMemory(textes(tableau) + ancien * parEnregistrement, (nombre - ancien) * tableau->tailleElement);
    return AutoReussi;
}

int32_t tableauAutoDetruire(TableauAuto* tableau)
{
    if (tableau == nullptr)
        return AutoReussi;
    if (tableau->verrous != 0)
        return AutoTableauVerrouille;
    if (tableau->nombreDimensions == 1 && tailleValide(tableau->tailleElement) &&
        tableau->donnees != nullptr) {
        const std::size_t total =
            std::size_t{tableau->bornes[0].nombre} * (tableau->tailleElement / sizeof(TexteAuto));
        for (std::size_t i = 0; i < total; ++i) {
            SysFreeString(texteSysteme(textes(tableau)[i]));
            textes(tableau)[i] = nullptr;
        }
    }
    return resultat(SafeArrayDestroy(systeme(tableau)));
}

int32_t tableauAutoVerrouiller(TableauAuto* tableau)
{
    return tableau == nullptr ? AutoArgumentInvalide : resultat(SafeArrayLock(systeme(tableau)));
}

int32_t tableauAutoDeverrouiller(TableauAuto* tableau)
{
    return tableau == nullptr ? AutoArgumentInvalide : resultat(SafeArrayUnlock(systeme(tableau)));
}

} // extern "C"
