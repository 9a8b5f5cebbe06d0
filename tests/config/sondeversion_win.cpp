// Prints what the configuration path routines answer on the system this program runs on, one value a line:
// version number, product type, EstVersion60, EstServeur60OuPlus, CheminSesamIni. Started by the tests
// under each system version Wine can pretend to be.
#include "sondesysteme.h"
#include "utils.h"

#include <cstdio>

int main()
{
    qint32 typeProduit = -1;
    const qint32 version = Utils::VersionSysteme(typeProduit, sondePlateforme());
    std::printf("%d\n%d\n%d\n%d\n%s\n", version, typeProduit, Utils::EstVersion60(sondePlateforme()) ? 1 : 0,
                Utils::EstServeur60OuPlus(sondePlateforme()) ? 1 : 0,
                Utils::CheminSesamIni(sondePlateforme()).toLocal8Bit().constData());
    return 0;
}
