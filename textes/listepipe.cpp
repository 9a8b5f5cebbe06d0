#include "listepipe.h"

#include <cstring>

ListePipe::ListePipe(QStringView texte) noexcept
    : m_texte(texte)
    , m_epuisee(texte.isEmpty())
{}

bool ListePipe::suivant(QStringView& champ) noexcept
{
    if (m_epuisee)
        return false;
    const qsizetype separateur = separateurDepuis(m_debut);
    if (separateur < 0) {
        champ = m_texte.sliced(m_debut);
        m_epuisee = true;
        return true;
    }
    champ = m_texte.sliced(m_debut, separateur - m_debut);
    m_debut = separateur + 1;
    return true;
}

qsizetype ListePipe::separateurDepuis(qsizetype position) const noexcept
{
    // memchr, the C library's vectorised scan, looks for the byte of "|" in the UTF-16 text. A
    // hit is a separator only when its whole character is "|"; the rare character that merely
    // holds that byte (U+017C, U+7Cxx...) is passed over.
    const auto* debut = reinterpret_cast<const char*>(m_texte.utf16());
    const char* const fin = debut + m_texte.size() * qsizetype(sizeof(char16_t));
    for (const char* p = debut + position * qsizetype(sizeof(char16_t));
         p < fin && (p = static_cast<const char*>(std::memchr(p, '|', std::size_t(fin - p)))); ++p) {
        const qsizetype trouve = (p - debut) / qsizetype(sizeof(char16_t));
        if (m_texte[trouve] == u'|')
            return trouve;
    }
    return -1;
}

QStringView rognerEspaces(QStringView texte) noexcept
{
    qsizetype debut = 0;
    qsizetype fin = texte.size();
    while (debut < fin && texte[debut] == u' ')
        ++debut;
    while (fin > debut && texte[fin - 1] == u' ')
        --fin;
    return texte.sliced(debut, fin - debut);
}
