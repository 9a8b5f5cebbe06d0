#include "fabriquecontrole.h"
#include "implementations.h"
#include "lancement.h"
#include "sequencetarvo.h"
#include "sondesysteme.h"

int main(int argc, char* argv[])
{
    return lancerBancCcam(
        argc, argv,
        {&fabriqueControle, sondePlateforme(), appelsTarvo(), QString::fromUtf16(progIdCtlTarvo)});
}
