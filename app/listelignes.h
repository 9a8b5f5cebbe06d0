#pragma once

#include <QListView>

class DelegueLignes;

// List1: a list box of text lines whose fields are separated by tabs, fast over 100,000 lines. Rows are of
// one height (only one row is measured), yet the horizontal extent covers the widest line, so a long line
// can be scrolled into view whatever line comes first. The line under the mouse shows whole in a tooltip;
// Ctrl+A selects every line and Ctrl+C copies the selected lines as shown, one a line, ready to paste into
// a spreadsheet.
class ListeLignes : public QListView
{
    Q_OBJECT

public:
    explicit ListeLignes(QWidget* parent = nullptr);
    ~ListeLignes() override;

    void setModel(QAbstractItemModel* modele) override;

    // The selected lines in their order in the list, joined by line feeds.
    QString texteSelectionne() const;

protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;

private:
    DelegueLignes* m_delegue;
};

// The width of a line drawn by advancing each character by avance(c) and each tab to the next multiple of
// tabulation, as a text layout without tab stops of its own does; in avance's unit (integers: a chain of
// integer additions runs several times faster than one of floating-point ones, over 100,000 lines a fill).
template<typename Avance> qint64 largeurLigne(QStringView ligne, const Avance& avance, qint64 tabulation)
{
    const char16_t* caractere = ligne.utf16();
    const char16_t* const fin = caractere + ligne.size();
    qint64 x = 0;
    for (; caractere != fin; ++caractere) {
        if (*caractere == u'\t')
            x = tabulation > 0 ? (x / tabulation + 1) * tabulation : x;
        else
            x += avance(*caractere);
    }
    return x;
}
