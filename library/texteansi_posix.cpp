#include "texteansi.h"

#include <cstring>

namespace TexteAnsi {

QByteArray versAnsi(const QString& texte)
{
    return texte.toLocal8Bit();
}

QString depuisAnsi(const char* octets, qsizetype longueur)
{
    return octets == nullptr ? QString() : QString::fromLocal8Bit(octets, longueur);
}

ArgumentAnsi::ArgumentAnsi(const QString& texte)
{
    const QByteArray ansi = versAnsi(texte);
    m_octets = new char[static_cast<std::size_t>(ansi.size()) + 1];
    std::memcpy(m_octets, ansi.constData(), static_cast<std::size_t>(ansi.size()) + 1);
}

ArgumentAnsi::~ArgumentAnsi()
{
    delete[] m_octets;
}

} // namespace TexteAnsi
