#include "listepipe.h"

ListePipe::ListePipe(QStringView texte)
    : m_texte(texte)
{
    // indexOf on one character is Qt's vectorised scan, as quick as memchr per byte.
    for (qsizetype position = m_texte.indexOf(u'|'); position >= 0;
         position = m_texte.indexOf(u'|', position + 1))
        m_separateurs.push_back(position);
}

QStringView ListePipe::champ(qsizetype numero) const noexcept
{
    if (!existe(numero))
        return {};
    const auto n = std::size_t(numero);
    const qsizetype debut = numero == 0 ? 0 : m_separateurs[n - 1] + 1;
    const qsizetype fin = n < m_separateurs.size() ? m_separateurs[n] : m_texte.size();
    return m_texte.sliced(debut, fin - debut);
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
