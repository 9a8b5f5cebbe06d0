#include "fabriquecontrole.h"
#include "fabriquectltarvo.h"

FabriqueControle fabriqueControlePlateforme()
{
    return &creerCtlTarvo;
}
