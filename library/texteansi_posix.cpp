#include "texteansi.h"

namespace TexteAnsi {

QByteArray versAnsi(const QString& texte)
{
    return texte.toLocal8Bit();
}

QString depuisAnsi(const char* octets, qsizetype longueur)
{
    return octets == nullptr ? QString() : QString::fromLocal8Bit(octets, longueur);
}

} // namespace TexteAnsi
