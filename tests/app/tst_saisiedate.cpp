#include "saisiedate.h"

#include <QTest>

// Typing into a date shown day, month, year: the picker's part moves on as SaisieDate says.
class TestSaisieDate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frappe_data()
    {
        QTest::addColumn<QDate>("depart");
        QTest::addColumn<QString>("touches"); // digits and "/"; "!" leaves the picker
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("partie"); // where the focus ends: 0 day, 1 month, 2 year

        const QDate mars(2024, 3, 5);
        QTest::newRow("date entière") << mars << QStringLiteral("01012010") << QDate(2010, 1, 1) << 2;
        QTest::newRow("barre après une partie complète, ignorée")
            << mars << QStringLiteral("01/01/2010") << QDate(2010, 1, 1) << 2;
        QTest::newRow("barre après un chiffre, passe à la suite")
            << mars << QStringLiteral("1/") << QDate(2024, 3, 1) << 1;
        QTest::newRow("deux barres de suite") << mars << QStringLiteral("1//") << QDate(2024, 3, 1) << 2;
        QTest::newRow("jour 4: complet dès un chiffre")
            << mars << QStringLiteral("4") << QDate(2024, 3, 4) << 1;
        QTest::newRow("mois 2: complet dès un chiffre")
            << mars << QStringLiteral("042") << QDate(2024, 2, 4) << 2;
        QTest::newRow("jour 3 attend un second chiffre")
            << mars << QStringLiteral("3") << QDate(2024, 3, 3) << 0;
        QTest::newRow("35: le 5 recommence le jour")
            << mars << QStringLiteral("35") << QDate(2024, 3, 5) << 1;
        QTest::newRow("00: pas de jour zéro") << mars << QStringLiteral("00") << mars << 0;
        QTest::newRow("mois 13: le 3 recommence le mois")
            << mars << QStringLiteral("/13") << QDate(2024, 3, 5) << 2;
        QTest::newRow("31 gardé du 29 février au 31 mars")
            << QDate(2024, 2, 5) << QStringLiteral("3103") << QDate(2024, 3, 31) << 2;
        QTest::newRow("29 février d'une année non bissextile")
            << mars << QStringLiteral("29022023") << QDate(2023, 2, 28) << 2;
        QTest::newRow("année montrée à quatre chiffres seulement")
            << mars << QStringLiteral("//201") << mars << 2;
        QTest::newRow("année à deux chiffres jusqu'à 29: 20xx")
            << mars << QStringLiteral("//29!") << QDate(2029, 3, 5) << 2;
        QTest::newRow("année à deux chiffres dès 30: 19xx")
            << mars << QStringLiteral("//30!") << QDate(1930, 3, 5) << 2;
        QTest::newRow("année 0000 refusée") << mars << QStringLiteral("//0000") << mars << 2;
        QTest::newRow("trois chiffres d'année sans suite") << mars << QStringLiteral("//201!") << mars << 2;
    }
    void frappe()
    {
        QFETCH(QDate, depart);
        QFETCH(QString, touches);
        QFETCH(QDate, date);
        QFETCH(int, partie);

        const SaisieDate::Partie parties[] = {SaisieDate::Partie::Jour, SaisieDate::Partie::Mois,
                                              SaisieDate::Partie::Annee};
        SaisieDate saisie;
        QDate montree = depart;
        int index = 0;
        for (const QChar c : touches) {
            SaisieDate::Resultat resultat{montree, false};
            if (c == QLatin1Char('!'))
                resultat.date = saisie.terminer(montree, parties[index]);
            else if (c == QLatin1Char('/'))
                resultat = saisie.separateur(montree, parties[index]);
            else
                resultat = saisie.chiffre(montree, parties[index], c.digitValue());
            montree = resultat.date;
            if (resultat.partieComplete)
                index = std::min(index + 1, 2);
        }
        QCOMPARE(montree, date);
        QCOMPARE(index, partie);
    }
};

QTEST_GUILESS_MAIN(TestSaisieDate)
#include "tst_saisiedate.moc"
