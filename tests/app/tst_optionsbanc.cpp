#include "optionsbanc.h"

#include <QTest>

// The command lines the tool runs nothing for: which options go together and what values they take, each
// refusal said before any file is opened.
class TestOptionsBanc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void finSansExecution_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("texte"); // a part of what is printed

        const int refusee = StatutBanc::LigneRefusee;
        const QString comparer = QStringLiteral("--comparer attend deux journaux");
        QTest::newRow("--help-all, l'aide") << QStringList{u"--help-all"_qs} << 0 << u"--balayage"_qs;
        QTest::newRow("--journal sans fichier") << QStringList{u"--journal"_qs} << refusee << u"journal"_qs;
        QTest::newRow("--comparer et trois journaux")
            << QStringList{u"--comparer"_qs, u"a"_qs, u"b"_qs, u"c"_qs} << refusee << comparer;
        QTest::newRow("--comparer et --journal")
            << QStringList{u"--comparer"_qs, u"a"_qs, u"b"_qs, u"--journal"_qs, u"j"_qs} << refusee
            << comparer;
        QTest::newRow("--comparer et --srt")
            << QStringList{u"--comparer"_qs, u"a"_qs, u"b"_qs, u"--srt"_qs} << refusee << comparer;
        QTest::newRow("--rapport sans --comparer")
            << QStringList{u"--scenario"_qs, u"s"_qs, u"--rapport"_qs, u"r.html"_qs} << refusee
            << u"--ignorer et --rapport vont avec --comparer"_qs;
        QTest::newRow("--fenetre et un argument de trop")
            << QStringList{u"--fenetre"_qs, u"x"_qs} << refusee << u"Argument inattendu : x"_qs;
        QTest::newRow("--diagnostic et --journal")
            << QStringList{u"--diagnostic"_qs, u"--journal"_qs, u"j"_qs} << refusee
            << u"--diagnostic ne prend pas d'autre option que --controle."_qs;
        QTest::newRow("--diagnostic et --date")
            << QStringList{u"--diagnostic"_qs, u"--date"_qs, u"20250101"_qs} << refusee
            << u"--diagnostic ne prend pas"_qs;
        QTest::newRow("--balayage et --scenario")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--scenario"_qs, u"s"_qs, u"--fenetre"_qs} << refusee
            << u"--balayage et --scenario ne vont pas ensemble"_qs;
        QTest::newRow("--srt sans --balayage")
            << QStringList{u"--scenario"_qs, u"s"_qs, u"--srt"_qs} << refusee
            << u"--commandes, --date, --grille et --srt vont avec --balayage"_qs;
        QTest::newRow("--commandes 3, la séquence de la bibliothèque")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--commandes"_qs, u"2,3"_qs} << refusee
            << u"--commandes : « 3 » n'est pas une commande d'acte"_qs;
        QTest::newRow("--commandes Command8")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--commandes"_qs, u"Command8"_qs} << refusee
            << u"« Command8 »"_qs;
        QTest::newRow("--date du 30 février")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--date"_qs, u"20250230"_qs} << refusee
            << u"--date : « 20250230 » n'est pas une date AAAAMMJJ"_qs;
        QTest::newRow("--date avant le calendrier du sélecteur")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--date"_qs, u"17520913"_qs} << refusee
            << u"« 17520913 »"_qs;
        QTest::newRow("--tranche sans --balayage")
            << QStringList{u"--scenario"_qs, u"s"_qs, u"--tranche"_qs, u"1/2"_qs} << refusee
            << u"--tranche va avec --balayage"_qs;
        QTest::newRow("--tranche 3/2") << QStringList{u"--balayage"_qs, u"l"_qs, u"--tranche"_qs, u"3/2"_qs}
                                       << refusee << u"--tranche : « 3/2 » n'est pas une tranche K/N"_qs;
        QTest::newRow("--parallele 0")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--parallele"_qs, u"0"_qs} << refusee
            << u"--parallele : « 0 » n'est pas un nombre de processus de 1 à 64"_qs;
        QTest::newRow("--boites-natives devant la fenêtre")
            << QStringList{u"--boites-natives"_qs, u"ok"_qs} << refusee
            << u"--boites-natives va avec --balayage ou --scenario"_qs;
        QTest::newRow("--boites-natives oui")
            << QStringList{u"--balayage"_qs, u"l"_qs, u"--boites-natives"_qs, u"oui"_qs} << refusee
            << u"--boites-natives : ok ou annuler, pas « oui »"_qs;
        QTest::newRow("--grille 003") << QStringList{u"--balayage"_qs, u"l"_qs, u"--grille"_qs, u"003"_qs}
                                      << refusee << u"--grille : 000, 001 ou 002, pas « 003 »"_qs;
    }

    void finSansExecution()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, statut);
        QFETCH(QString, texte);

        const auto lecture = lireOptionsBanc(QStringList{u"banc-ccam"_qs} + arguments);

        const FinLigneBanc* fin = std::get_if<FinLigneBanc>(&lecture);
        QVERIFY(fin);
        QCOMPARE(fin->statut, statut);
        QVERIFY2(fin->texte.contains(texte), qPrintable(fin->texte));
    }
};

QTEST_GUILESS_MAIN(TestOptionsBanc)
#include "tst_optionsbanc.moc"
