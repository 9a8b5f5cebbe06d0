#include "ressourcescom_win.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The conversion the host and our server share: whatever a client sends comes back as it was, length
// prefix included, so a text is never cut at a zero nor split in a surrogate pair.
class TestRessourcesCom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allerRetour_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::newRow("vide") << QString();
        QTest::newRow("accents") << u"curiethérapie à haut débit"_s;
        QTest::newRow("zéro au milieu") << QString::fromUtf16(u"a\0b", 3);
        QTest::newRow("hors du plan de base") << QString::fromUtf16(u"\U0001F489 piqûre");
    }
    void allerRetour()
    {
        QFETCH(QString, texte);
        const BstrCom bstr = bstrDepuisTexte(texte);
        QVERIFY(bstr.get() != nullptr);
        QCOMPARE(qsizetype(SysStringLen(bstr.get())), texte.size());
        QCOMPARE(bstr.texte(), texte);
    }

    void bstrNulEstLeTexteVide() { QCOMPARE(texteDepuisBstr(nullptr), QString()); }
};

QTEST_GUILESS_MAIN(TestRessourcesCom)
#include "tst_ressourcescom.moc"
