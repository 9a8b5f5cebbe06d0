#pragma once

#include <QString>
#include <cstdint>
#include <cstring>

// The fuzzer's bytes as a text: UTF-8, or raw UTF-16, which reaches characters whose byte 0x7C is not
// a "|" (U+017C, U+7Cxx...) and lone surrogates. memcpy, since the buffer need not be aligned for char16_t.
inline QString texteDepuisOctets(const uint8_t* donnees, size_t taille, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    QString texte(qsizetype(taille / 2), Qt::Uninitialized);
    std::memcpy(texte.data(), donnees, (taille / 2) * 2);
    return texte;
}
