#include "fabriquecontrole.h"
#include "lancement.h"

int main(int argc, char* argv[])
{
    return lancerBancCcam(argc, argv, fabriqueControlePlateforme());
}
