#pragma once

// What the programmable library does at each of the seven steps of the sequence, and what it left
// in the array variable when it returned: the fuzz target writes the first and reads the second.
// Both sides are built together by the same compiler, so C++ types cross the boundary.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ModeTableau : uint8_t
{
    Redimensionner, // the array received, resized to `livres` records from `borne`
    Remplacer,      // the array received freed, a new one put in its place
    Annuler,        // the array received freed, the variable left null
    AutreType,      // replaced by an array whose records hold `champsEnPlus` texts more (or fewer)
    Intact          // the array received left as it came
};

struct EtapeProgrammee
{
    int32_t compte = 0; // what the entry point returns
    ModeTableau mode = ModeTableau::Intact;
    int32_t borne = 0;
    uint32_t livres = 0;
    int32_t champsEnPlus = 0;
    uint32_t verrous = 0; // locks left on the array, against the contract
};

using TexteLivre = std::optional<std::u16string>; // nullopt: the null text

struct ProgrammeTarvo
{
    std::array<EtapeProgrammee, 8> etapes{}; // index = step, 1 to 7
    std::vector<TexteLivre> textes;          // taken in turn for every text written, cycling
};

// The array variable as the entry point left it.
struct Livraison
{
    bool appelee = false;
    bool nul = true;
    uint32_t tailleElement = 0;
    int32_t borne = 0;
    uint32_t nombre = 0;
    std::vector<TexteLivre> textes; // nombre * tailleElement / sizeof(TexteAuto), in memory order
};

using Livraisons = std::array<Livraison, 8>;

extern "C" {
using FonctionProgrammer = void (*)(const ProgrammeTarvo* programme);
using FonctionLivraisons = const Livraisons* (*)();
}
