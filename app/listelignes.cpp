#include "listelignes.h"

#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// How many of the lines estimated widest are then measured exactly by the delegate: the estimate ignores
// kerning, so the true widest line is among the first few, not necessarily the first.
constexpr std::size_t LignesMesurees = 32;

// Advances in 64ths of a pixel, the Latin-1 ones measured up front (nearly every character of the CCAM's
// texts), any other on first meeting.
class TableAvances
{
public:
    static constexpr int Unite = 64;

    explicit TableAvances(const QFont& police)
        : m_mesures(police)
    {
        for (char16_t c = 0; c < 256; ++c)
            m_latin[c] = mesurer(c);
    }

    qint64 operator()(char16_t c) const { return c < 256 ? m_latin[c] : autre(c); }

private:
    qint64 mesurer(char16_t c) const { return std::llround(m_mesures.horizontalAdvance(QChar(c)) * Unite); }
    qint64 autre(char16_t c) const
    {
        auto it = m_autres.constFind(c);
        if (it == m_autres.cend())
            it = m_autres.insert(c, mesurer(c));
        return *it;
    }

    QFontMetricsF m_mesures;
    std::array<qint64, 256> m_latin{};
    mutable QHash<char16_t, qint64> m_autres;
};

} // namespace

// With rows of one height the view asks the size of the first row only: the answer it gets here is as
// wide as the widest line, so that the extent and every row's rectangle cover it (no line is cut off).
class DelegueLignes : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void invalider() { m_largeur = -1; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize taille = QStyledItemDelegate::sizeHint(option, index);
        if (index.model() == nullptr)
            return taille;
        if (m_largeur < 0)
            m_largeur = largeurLaPlusGrande(option, *index.model(), index);
        taille.setWidth(std::max(taille.width(), m_largeur));
        return taille;
    }

    bool helpEvent(QHelpEvent* evenement, QAbstractItemView* vue, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (evenement->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(evenement, vue, option, index);
        const QString ligne = index.data(Qt::DisplayRole).toString();
        if (ligne.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        // Escaped and kept on one line with its tabs: a line from a component is never read as markup.
        QToolTip::showText(evenement->globalPos(),
                           QStringLiteral("<p style=\"white-space:pre\">") + ligne.toHtmlEscaped() +
                               QStringLiteral("</p>"),
                           vue, vue->visualRect(index));
        return true;
    }

private:
    int largeurLaPlusGrande(const QStyleOptionViewItem& option, const QAbstractItemModel& modele,
                            const QModelIndex& premier) const
    {
        QStringList lignes;
        if (const auto* liste = qobject_cast<const QStringListModel*>(&modele))
            lignes = liste->stringList(); // shared, not copied
        else
            for (int ligne = 0; ligne < modele.rowCount(premier.parent()); ++ligne)
                lignes.append(modele.index(ligne, premier.column(), premier.parent()).data().toString());
        if (lignes.isEmpty())
            return 0;

        const TableAvances avances(option.font);
        const auto tabulation = std::llround(QTextOption().tabStopDistance() * TableAvances::Unite);
        // The widest estimates so far, kept as the lines go by: no list of 100,000 estimates to sort.
        std::vector<std::pair<qint64, int>> retenues;
        retenues.reserve(LignesMesurees);
        std::size_t plusEtroite = 0; // in retenues, once full
        for (int i = 0; i < lignes.size(); ++i) {
            const qint64 estimation = largeurLigne(lignes.at(i), avances, tabulation);
            if (retenues.size() < LignesMesurees) {
                retenues.emplace_back(estimation, i);
            } else if (estimation > retenues[plusEtroite].first) {
                retenues[plusEtroite] = {estimation, i};
            } else {
                continue;
            }
            if (retenues.size() == LignesMesurees)
                plusEtroite = static_cast<std::size_t>(std::min_element(retenues.begin(), retenues.end()) -
                                                       retenues.begin());
        }
        int largeur = 0;
        for (const auto& [estimation, ligne] : retenues) {
            const QModelIndex index = modele.index(ligne, premier.column(), premier.parent());
            largeur = std::max(largeur, QStyledItemDelegate::sizeHint(option, index).width());
        }
        return largeur;
    }

    mutable int m_largeur = -1;
};

ListeLignes::ListeLignes(QWidget* parent)
    : QListView(parent)
    , m_delegue(new DelegueLignes(this))
{
    setItemDelegate(m_delegue);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Several lines can be selected, to be copied together.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

ListeLignes::~ListeLignes() = default;

void ListeLignes::setModel(QAbstractItemModel* modele)
{
    // The view ignores the same model set again: its connections must stay as they are.
    if (modele == model())
        return;
    if (QAbstractItemModel* ancien = model())
        disconnect(ancien, nullptr, this, nullptr);
    m_delegue->invalider();
    QListView::setModel(modele);
    if (modele == nullptr)
        return;
    // Any change of the lines may change the widest one. Connected before the view's own handlers run
    // their layout, so the first row's size is asked again once the lines have changed.
    const auto invalider = [this] {
        m_delegue->invalider();
    };
    connect(modele, &QAbstractItemModel::modelAboutToBeReset, this, invalider);
    connect(modele, &QAbstractItemModel::modelReset, this, invalider);
    connect(modele, &QAbstractItemModel::rowsInserted, this, invalider);
    connect(modele, &QAbstractItemModel::rowsRemoved, this, invalider);
    connect(modele, &QAbstractItemModel::layoutChanged, this, invalider);
    connect(modele, &QAbstractItemModel::dataChanged, this, [this] {
        m_delegue->invalider();
        // The view keeps the first row's size across a change of data: a layout asks it again.
        scheduleDelayedItemsLayout();
    });
}

QString ListeLignes::texteSelectionne() const
{
    if (selectionModel() == nullptr)
        return {};
    QModelIndexList indices = selectionModel()->selectedRows(modelColumn());
    std::sort(indices.begin(), indices.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lignes;
    lignes.reserve(indices.size());
    for (const QModelIndex& index : std::as_const(indices))
        lignes.append(index.data(Qt::DisplayRole).toString());
    return lignes.join(QLatin1Char('\n'));
}

void ListeLignes::keyPressEvent(QKeyEvent* evenement)
{
    // The view's own copy takes the current line only, selected or not.
    if (evenement == QKeySequence::Copy) {
        const QString texte = texteSelectionne();
        if (!texte.isEmpty())
            QApplication::clipboard()->setText(texte);
        evenement->accept();
        return;
    }
    QListView::keyPressEvent(evenement);
}

void ListeLignes::changeEvent(QEvent* evenement)
{
    if (evenement->type() == QEvent::FontChange || evenement->type() == QEvent::StyleChange)
        m_delegue->invalider();
    QListView::changeEvent(evenement);
}
