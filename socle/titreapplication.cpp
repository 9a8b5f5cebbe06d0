#include "servicemessages.h"

QString titreApplication()
{
    return QStringLiteral("Banc d'essai CCAM");
}
