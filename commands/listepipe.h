#pragma once

#include <QStringView>
#include <vector>

// A pipe list the control answered, cut at every "|" into fields numbered from 0. The cut keeps
// only the separators' positions and hands out views into the text, so a list of millions of
// fields costs one scan and no string per field. The text must outlive the ListePipe.
class ListePipe
{
public:
    explicit ListePipe(QStringView texte);

    // An empty text holds no field at all; n separators give n + 1 fields.
    qsizetype nombreChamps() const noexcept
    {
        return m_texte.isEmpty() ? 0 : qsizetype(m_separateurs.size()) + 1;
    }
    // Less than 0 when there is no field.
    qsizetype dernierChamp() const noexcept { return nombreChamps() - 1; }
    bool existe(qsizetype numero) const noexcept { return numero >= 0 && numero <= dernierChamp(); }
    // An empty view for a field that does not exist: nothing is ever read past the last field.
    QStringView champ(qsizetype numero) const noexcept;

private:
    QStringView m_texte;
    std::vector<qsizetype> m_separateurs;
};

// Leading and trailing spaces (code 32) removed; tabs and every other character stay.
QStringView rognerEspaces(QStringView texte) noexcept;
