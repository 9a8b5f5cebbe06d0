#include "controlecom.h"
#include "fabriquecontrole.h"

FabriqueControle fabriqueControlePlateforme()
{
    return [](QWidget* fenetre) {
        return creerControleCom(QString::fromUtf16(progIdCtlTarvo), fenetre);
    };
}
