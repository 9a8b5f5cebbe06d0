#include "controleenregistreur.h"
#include "echec.h"
#include "journaltest.h"
#include "membresctltarvo.h"

#include <QLocale>
#include <QTest>
#include <functional>

using Acces = std::function<void(MembresCtlTarvo&)>;
Q_DECLARE_METATYPE(Acces)

namespace {

// A control that writes back through the references it is handed, as a real one may.
class ControleQuiRenvoie : public ControleDispatch
{
public:
    void ecrire(qint32, const QVariant&) override {}
    void ecrireParReference(qint32, QVariant& valeur) override { valeur = renvoi; }
    QVariant lire(qint32) override { return {}; }
    QVariant appeler(qint32) override { return {}; }
    QVariant renvoi;
};

} // namespace

class TestMembresCtlTarvo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void chaqueMembrePasseParSonIdentifiant_data();
    void chaqueMembrePasseParSonIdentifiant();
    void valeurLueCommeTexte_data();
    void valeurLueCommeTexte();
    void ecritureParReferenceRevientALAppelant();
    void membreEnEchecRemonteLEchec();
};

void TestMembresCtlTarvo::chaqueMembrePasseParSonIdentifiant_data()
{
    QTest::addColumn<Acces>("acces");
    QTest::addColumn<QString>("trace");

    QTest::newRow("CheminConfig") << Acces([](auto& m) { m.setCheminConfig(QStringLiteral("C:\\x")); })
                                  << QStringLiteral("CheminConfig <- \"C:\\x\"");
    QTest::newRow("SRTSeulement") << Acces([](auto& m) { m.setSRTSeulement(1); })
                                  << QStringLiteral("SRTSeulement <- 1");
    QTest::newRow("CodeSpecialite par reference") << Acces([](auto& m) {
        qint32 code = 6;
        m.setCodeSpecialite(code);
    }) << QStringLiteral("CodeSpecialite <-& 6");
    QTest::newRow("CodeActe par valeur") << Acces([](auto& m) { m.setCodeActe(QStringLiteral(" A ")); })
                                         << QStringLiteral("CodeActe <- \" A \"");
    QTest::newRow("CodeActe par reference") << Acces([](auto& m) {
        QString code = QStringLiteral("B");
        m.setCodeActeParReference(code);
    }) << QStringLiteral("CodeActe <-& \"B\"");
    QTest::newRow("DateReference") << Acces([](auto& m) { m.setDateReference(QStringLiteral("20240307")); })
                                   << QStringLiteral("DateReference <- \"20240307\"");
    QTest::newRow("GrilleTarifaire") << Acces([](auto& m) { m.setGrilleTarifaire(QStringLiteral("002")); })
                                     << QStringLiteral("GrilleTarifaire <- \"002\"");

    const std::pair<const char*, Acces> lectures[] = {
        {"CodeActe ->",
         [](auto& m) {
             m.CodeActe();
         }},
        {"LibelleLongActe ->",
         [](auto& m) {
             m.LibelleLongActe();
         }},
        {"LibelleCourtActe ->",
         [](auto& m) {
             m.LibelleCourtActe();
         }},
        {"Modificateurs ->",
         [](auto& m) {
             m.Modificateurs();
         }},
        {"ModificateursActivite1 ->",
         [](auto& m) {
             m.ModificateursActivite1();
         }},
        {"ModificateursActivite4 ->",
         [](auto& m) {
             m.ModificateursActivite4();
         }},
        {"ModificateursActivite5 ->",
         [](auto& m) {
             m.ModificateursActivite5();
         }},
        {"PrixActe ->",
         [](auto& m) {
             m.PrixActe();
         }},
        {"CodeRegroupement ->",
         [](auto& m) {
             m.CodeRegroupement();
         }},
        {"SelectionActe()",
         [](auto& m) {
             m.SelectionActe();
         }},
        {"LireLibelle()",
         [](auto& m) {
             m.LireLibelle();
         }},
        {"LirePrix()",
         [](auto& m) {
             m.LirePrix();
         }},
        {"LireModificateurs()",
         [](auto& m) {
             m.LireModificateurs();
         }},
        {"LireModificateursActe()",
         [](auto& m) {
             m.LireModificateursActe();
         }},
        {"LireRegroupements()",
         [](auto& m) {
             m.LireRegroupements();
         }},
        {"LireLibelleLong()",
         [](auto& m) {
             m.LireLibelleLong();
         }},
        {"LireActesCompatibles()",
         [](auto& m) {
             m.LireActesCompatibles();
         }},
    };
    for (const auto& [trace, acces] : lectures)
        QTest::newRow(trace) << acces << QString::fromLatin1(trace);
}

void TestMembresCtlTarvo::chaqueMembrePasseParSonIdentifiant()
{
    QFETCH(Acces, acces);
    QFETCH(QString, trace);

    JournalTest journal;
    ControleEnregistreur controle(&journal);
    // Every method answers a text, so only the identifier can make a difference.
    for (qint32 id = DispId::SelectionActe; id <= DispId::LireActesCompatibles; ++id)
        controle.reponses.insert(id, QString());
    MembresCtlTarvo membres(controle);
    acces(membres);
    QCOMPARE(journal.entrees, QStringList{trace});
}

void TestMembresCtlTarvo::valeurLueCommeTexte_data()
{
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("attendu"); // null: the value cannot be taken as text

    const QLocale fr(QLocale::French, QLocale::France);
    const QLocale c = QLocale::c();
    QTest::newRow("texte tel quel") << QVariant(QStringLiteral(" a|b ")) << fr << QStringLiteral(" a|b ");
    QTest::newRow("texte vide") << QVariant(QString()) << c << QStringLiteral("");
    QTest::newRow("entier sans separateur de milliers fr")
        << QVariant(123456) << fr << QStringLiteral("123456");
    QTest::newRow("entier negatif C") << QVariant(-42) << c << QStringLiteral("-42");
    QTest::newRow("64 bits") << QVariant(qint64(1) << 40) << c << QStringLiteral("1099511627776");
    QTest::newRow("decimal en francais") << QVariant(12.5) << fr << QStringLiteral("12,5");
    QTest::newRow("decimal en C") << QVariant(12.5) << c << QStringLiteral("12.5");
    QTest::newRow("reponse vide") << QVariant() << c << QString();
    QTest::newRow("liste") << QVariant(QStringList{QStringLiteral("a")}) << c << QString();
    QTest::newRow("booleen") << QVariant(true) << c << QString();
}

void TestMembresCtlTarvo::valeurLueCommeTexte()
{
    QFETCH(QVariant, valeur);
    QFETCH(QLocale, locale);
    QFETCH(QString, attendu);

    QLocale::setDefault(locale);
    JournalTest journal;
    ControleEnregistreur controle(&journal);
    controle.reponses.insert(DispId::PrixActe, valeur);
    controle.reponses.insert(DispId::LirePrix, valeur);
    MembresCtlTarvo membres(controle);
    if (attendu.isNull()) {
        QVERIFY_THROWS_EXCEPTION(Echec, membres.PrixActe());
        try {
            membres.LirePrix();
            QFAIL("LirePrix n'a pas échoué");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), IncompatibiliteDeType);
            QVERIFY(echec.description().contains(QStringLiteral("LirePrix")));
        }
    } else {
        QCOMPARE(membres.PrixActe(), attendu);
        QCOMPARE(membres.LirePrix(), attendu);
    }
}

void TestMembresCtlTarvo::ecritureParReferenceRevientALAppelant()
{
    ControleQuiRenvoie controle;
    MembresCtlTarvo membres(controle);

    qint32 code = 6;
    controle.renvoi = 9;
    membres.setCodeSpecialite(code);
    QCOMPARE(code, 9);

    QString acte = QStringLiteral("A");
    controle.renvoi = QStringLiteral("B");
    membres.setCodeActeParReference(acte);
    QCOMPARE(acte, QStringLiteral("B"));

    // A value of another kind written back does not corrupt the caller's variable.
    controle.renvoi = QStringLiteral("x");
    membres.setCodeSpecialite(code);
    QCOMPARE(code, 9);
}

void TestMembresCtlTarvo::membreEnEchecRemonteLEchec()
{
    JournalTest journal;
    ControleEnregistreur controle(&journal);
    controle.echecs.insert(DispId::DateReference);
    MembresCtlTarvo membres(controle);
    try {
        membres.setDateReference(QStringLiteral("20240307"));
        QFAIL("l'écriture n'a pas échoué");
    } catch (const Echec& echec) {
        QCOMPARE(echec.numero(), int(Echec::EchecComposant));
    }
}

QTEST_GUILESS_MAIN(TestMembresCtlTarvo)
#include "tst_membresctltarvo.moc"
