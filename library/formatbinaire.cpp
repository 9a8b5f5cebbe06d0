#include "formatbinaire.h"

#include <QFile>
#include <cstring>

namespace {

quint32 entier32(const QByteArray& octets, qsizetype position)
{
    quint32 valeur = 0;
    for (int i = 3; i >= 0; --i)
        valeur = (valeur << 8) | static_cast<quint8>(octets.at(position + i));
    return valeur;
}

quint16 entier16(const QByteArray& octets, qsizetype position)
{
    return static_cast<quint16>(static_cast<quint8>(octets.at(position)) |
                                (static_cast<quint8>(octets.at(position + 1)) << 8));
}

} // namespace

namespace FormatBinaire {

int bits(const QString& fichier)
{
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray debut = f.read(64);
    if (debut.size() >= 5 && debut.startsWith("\x7f"
                                              "ELF")) {
        switch (debut.at(4)) {
        case 1:
            return 32;
        case 2:
            return 64;
        default:
            return 0;
        }
    }
    if (debut.size() < 64 || !debut.startsWith("MZ"))
        return 0;
    // The PE header's offset sits at 0x3C; its optional header's magic tells PE32 from PE32+.
    const quint32 positionPe = entier32(debut, 0x3C);
    if (positionPe > 64 * 1024 * 1024 || !f.seek(positionPe))
        return 0;
    const QByteArray entete = f.read(4 + 20 + 2);
    if (entete.size() < 26 || std::memcmp(entete.constData(), "PE\0\0", 4) != 0)
        return 0;
    switch (entier16(entete, 24)) {
    case 0x10B:
        return 32;
    case 0x20B:
        return 64;
    default:
        return 0;
    }
}

} // namespace FormatBinaire
