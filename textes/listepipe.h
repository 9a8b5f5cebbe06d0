#pragma once

#include <QStringView>

// A pipe list the control answered, cut at every "|" into its fields, given in order as views
// into the text: one scan of the text, no string and no storage per field, so a list of millions
// of fields costs little more than reading it. The text must outlive the ListePipe.
class ListePipe
{
public:
    explicit ListePipe(QStringView texte) noexcept;

    // Gives the next field in `champ`. False once the last field has been given, and on every
    // later call: nothing is ever read past the last field. An empty text holds no field at all;
    // n separators give n + 1 fields, adjacent ones an empty field between them.
    bool suivant(QStringView& champ) noexcept;

private:
    qsizetype separateurDepuis(qsizetype position) const noexcept;

    QStringView m_texte;
    qsizetype m_debut = 0;
    bool m_epuisee;
};

// Leading and trailing spaces (code 32) removed; tabs and every other character stay.
QStringView rognerEspaces(QStringView texte) noexcept;
