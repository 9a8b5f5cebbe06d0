#pragma once

// Control side of the misbehaving test library: what each of the seven steps answers and does to the
// array it receives, and the journal of the calls it got.

#include <stdint.h>

enum ModeFautif : int32_t
{
    Redimensionner = 0, // the array received, resized to livres records from borneInferieure
    Remplacer = 1,      // the array received freed, a new one put in its place
    Annuler = 2,        // the array received freed, the variable left null
    AutreType = 3,      // replaced by an array of records one text longer
    Intact = 4          // the array received left as it came
};

struct ReponseFautive
{
    int32_t compte;
    int32_t livres;
    int32_t borneInferieure;
    int32_t mode;
};

using FonctionReinitialiser = void (*)();
using FonctionRepondre = void (*)(int32_t etape, ReponseFautive reponse);
using FonctionJournal = int32_t (*)(char* tampon, int32_t taille);
