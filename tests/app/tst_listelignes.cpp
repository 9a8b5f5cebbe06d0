#include "listelignes.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <QToolTip>

// List1's view: rows of one height, yet every line reachable and whole.
class TestListeLignes : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_fenetre;
    ListeLignes* m_liste = nullptr;
    QStringListModel* m_modele = nullptr;

    void remplir(const QStringList& lignes)
    {
        m_modele->setStringList(lignes);
        QCoreApplication::processEvents(); // the delayed layout
    }

    // The width a line needs to show whole, as the standard delegate measures it.
    int largeurNecessaire(int ligne) const
    {
        QStyledItemDelegate mesure;
        QStyleOptionViewItem option;
        option.initFrom(m_liste);
        option.font = m_liste->font();
        option.features |= QStyleOptionViewItem::HasDisplay;
        return mesure.sizeHint(option, m_modele->index(ligne)).width();
    }

private Q_SLOTS:
    void init()
    {
        m_fenetre = std::make_unique<QWidget>();
        m_liste = new ListeLignes(m_fenetre.get());
        m_modele = new QStringListModel(m_liste);
        m_liste->setModel(m_modele);
        m_liste->setGeometry(0, 0, 329, 69); // List1's size in the window
        m_fenetre->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_fenetre.get()));
    }
    void cleanup() { m_fenetre.reset(); }

    void largeurLigne_data()
    {
        QTest::addColumn<QString>("ligne");
        QTest::addColumn<qint64>("largeur");
        // Every character 10 wide, tab stops every 80.
        QTest::newRow("vide") << QString() << qint64(0);
        QTest::newRow("sans tabulation") << QStringLiteral("abc") << qint64(30);
        QTest::newRow("tabulation après un champ court") << QStringLiteral("a\tb") << qint64(90);
        QTest::newRow("tabulation en tête") << QStringLiteral("\tb") << qint64(90);
        QTest::newRow("champ qui finit sur un arrêt") << QStringLiteral("abcdefgh\tb") << qint64(170);
        QTest::newRow("champ qui dépasse un arrêt") << QStringLiteral("abcdefghi\tb") << qint64(170);
        QTest::newRow("deux tabulations de suite") << QStringLiteral("a\t\tb") << qint64(170);
    }
    void largeurLigne()
    {
        QFETCH(QString, ligne);
        QFETCH(qint64, largeur);
        QCOMPARE(::largeurLigne(
                     ligne, [](char16_t) { return qint64(10); }, 80),
                 largeur);
    }

    void etendueCouvreLaLigneLaPlusLongue_data()
    {
        QTest::addColumn<QStringList>("lignes");
        QTest::addColumn<int>("laPlusLongue");
        const QString longue = QStringLiteral(
            "EXCL\tActe excluant les modificateurs du cabinet, de la nuit et des jours fériés\t1\t4\t1,50");
        QTest::newRow("longue après des courtes")
            << QStringList{QStringLiteral("A\tB"), QStringLiteral("C\tD"), longue} << 2;
        QTest::newRow("longue en tête") << QStringList{longue, QStringLiteral("A\tB")} << 0;
        // Fewer characters, but wider ones and more tabs.
        QTest::newRow("plus large sans être plus longue")
            << QStringList{QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"),
                           QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\t\t\t\tM")}
            << 1;
        QStringList beaucoup;
        for (int i = 0; i < 5000; ++i)
            beaucoup.append(QStringLiteral("AAFA%1\tLibellé %1").arg(i, 6, 10, QLatin1Char('0')));
        beaucoup[4321] += QStringLiteral("\tun champ de plus, bien plus long que tous les autres");
        QTest::newRow("une parmi 5000") << beaucoup << 4321;
    }
    void etendueCouvreLaLigneLaPlusLongue()
    {
        QFETCH(QStringList, lignes);
        QFETCH(int, laPlusLongue);
        remplir(lignes);
        const int necessaire = largeurNecessaire(laPlusLongue);
        QVERIFY(necessaire > m_liste->viewport()->width());
        QScrollBar* barre = m_liste->horizontalScrollBar();
        QVERIFY2(barre->maximum() + m_liste->viewport()->width() >= necessaire,
                 qPrintable(QStringLiteral("%1 + %2 < %3")
                                .arg(barre->maximum())
                                .arg(m_liste->viewport()->width())
                                .arg(necessaire)));
        // The row itself is as wide, so the delegate draws the line whole instead of eliding it.
        QVERIFY(m_liste->visualRect(m_modele->index(laPlusLongue)).width() >= necessaire);

        // Lines that all fit leave nothing to scroll.
        remplir({QStringLiteral("A\tB")});
        QCOMPARE(barre->maximum(), 0);
    }

    // Another model, then the same one again: the extent follows the lines of the model shown.
    void modeleRemplace()
    {
        remplir({QStringLiteral("A\tB")});
        auto* autre = new QStringListModel(
            {QStringLiteral("X"),
             QStringLiteral("un libellé bien plus long que la liste, qu'il faut faire défiler")},
            m_liste);
        m_liste->setModel(autre);
        m_liste->setModel(autre);
        QCoreApplication::processEvents();
        QVERIFY(m_liste->horizontalScrollBar()->maximum() > 0);
        autre->setStringList({QStringLiteral("Y")});
        QCoreApplication::processEvents();
        QCOMPARE(m_liste->horizontalScrollBar()->maximum(), 0);
    }

    void infobulleMontreLaLigneEntiere_data()
    {
        QTest::addColumn<QString>("ligne");
        QTest::addColumn<QString>("montre"); // what the tooltip holds
        QTest::newRow("champs séparés par des tabulations")
            << QStringLiteral("HHLB003\tRadiographie\t1") << QStringLiteral("HHLB003\tRadiographie\t1");
        QTest::newRow("balises montrées telles quelles")
            << QStringLiteral("<b>gras</b> & co") << QStringLiteral("&lt;b&gt;gras&lt;/b&gt; &amp; co");
    }
    void infobulleMontreLaLigneEntiere()
    {
        QFETCH(QString, ligne);
        QFETCH(QString, montre);
        remplir({QStringLiteral("premiere"), ligne});
        const QPoint point = m_liste->visualRect(m_modele->index(1)).center();
        QHelpEvent aide(QEvent::ToolTip, point, m_liste->viewport()->mapToGlobal(point));
        QApplication::sendEvent(m_liste->viewport(), &aide);
        QVERIFY2(QToolTip::text().contains(montre), qPrintable(QToolTip::text()));
        QToolTip::hideText();
    }

    void copieDesLignesChoisies_data()
    {
        QTest::addColumn<QList<int>>("choisies"); // empty: Ctrl+A
        QTest::addColumn<QString>("copie");
        QTest::newRow("tout, par Ctrl+A") << QList<int>{} << QStringLiteral("A\t1\nB\t2\nC\t3");
        QTest::newRow("deux lignes, dans l'ordre de la liste")
            << QList<int>{2, 0} << QStringLiteral("A\t1\nC\t3");
        QTest::newRow("une ligne") << QList<int>{1} << QStringLiteral("B\t2");
    }
    void copieDesLignesChoisies()
    {
        QFETCH(QList<int>, choisies);
        QFETCH(QString, copie);
        remplir({QStringLiteral("A\t1"), QStringLiteral("B\t2"), QStringLiteral("C\t3")});
        m_liste->setFocus();
        QApplication::clipboard()->clear();
        if (choisies.isEmpty()) {
            QTest::keyClick(m_liste, Qt::Key_A, Qt::ControlModifier);
        } else {
            for (int ligne : choisies)
                QTest::mouseClick(m_liste->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  m_liste->visualRect(m_modele->index(ligne)).center());
        }
        QTest::keyClick(m_liste, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), copie);
    }
};

QTEST_MAIN(TestListeLignes)
#include "tst_listelignes.moc"
