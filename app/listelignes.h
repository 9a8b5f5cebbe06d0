#pragma once

#include <QListView>
#include <cmath>

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
// tabulation, as a text layout without tab stops of its own does. Fast enough for 100,000 lines a fill:
// avance is a table lookup, not a text shaping.
template<typename Avance> double largeurLigne(QStringView ligne, const Avance& avance, double tabulation)
{
    double x = 0;
    for (const QChar c : ligne) {
        if (c == QLatin1Char('\t'))
            x = tabulation > 0 ? (std::floor(x / tabulation) + 1) * tabulation : x;
        else
            x += avance(c);
    }
    return x;
}
