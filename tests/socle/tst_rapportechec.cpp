#include "echec.h"
#include "journaltest.h"
#include "rapportechec.h"
#include "servicemessagesscripte.h"

#include <QTest>
#include <new>
#include <stdexcept>

using Lanceur = std::function<void()>;

class TestRapportEchec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void texteDuRapport_data();
    void texteDuRapport();
    void valeurCitee_data();
    void valeurCitee();
    void echecArreteLeGestionnaireALEtapeFautive_data();
    void echecArreteLeGestionnaireALEtapeFautive();
    void gestionnaireMeneASonTerme();

private:
    JournalTest m_journal;
    std::unique_ptr<ServiceMessagesScripte> m_messages;
};

void TestRapportEchec::init()
{
    m_journal.vider();
    m_messages = std::make_unique<ServiceMessagesScripte>(&m_journal);
}

void TestRapportEchec::cleanup()
{
    m_messages.reset();
}

void TestRapportEchec::texteDuRapport_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("texte");

    QTest::newRow("composant") << 440 << QStringLiteral("Échec simulé de SelectionActe")
                               << QStringLiteral("Erreur 440 : Échec simulé de SelectionActe");
    QTest::newRow("débordement, un chiffre") << 6 << QStringLiteral("Dépassement de capacité")
                                             << QStringLiteral("Erreur 6 : Dépassement de capacité");
    QTest::newRow("description contenant %1") << 453 << QStringLiteral("Point d'entrée %1 introuvable")
                                              << QStringLiteral("Erreur 453 : Point d'entrée %1 introuvable");
    QTest::newRow("description vide") << 48 << QString() << QStringLiteral("Erreur 48 : ");
}

void TestRapportEchec::valeurCitee_data()
{
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<QString>("citee");
    const QString a200(200, QLatin1Char('a'));
    const QString points(QChar(0x2026));
    QTest::newRow("200 caractères, entière") << a200 << a200;
    QTest::newRow("201 caractères, coupée") << a200 + QLatin1Char('b') << a200 + points;
    const QString cle = QString::fromUtf8("\U0001F511");
    QTest::newRow("paire coupée au 200e, laissée entière hors de la citation")
        << QString(199, QLatin1Char('a')) + cle + QLatin1Char('b') << QString(199, QLatin1Char('a')) + points;
}

void TestRapportEchec::valeurCitee()
{
    QFETCH(QString, valeur);
    QFETCH(QString, citee);
    QCOMPARE(::valeurCitee(valeur), citee);
}

void TestRapportEchec::texteDuRapport()
{
    QFETCH(int, numero);
    QFETCH(QString, description);
    QFETCH(QString, texte);

    rapporterEchec(*m_messages, Echec(numero, description));

    QCOMPARE(m_messages->messages.size(), 1);
    QCOMPARE(m_messages->messages[0].texte, texte);
    QCOMPARE(m_messages->messages[0].titre, QStringLiteral("Banc d'essai CCAM"));
    QCOMPARE(m_messages->messages[0].icone, IconeMessage::Critique);
}

void TestRapportEchec::echecArreteLeGestionnaireALEtapeFautive_data()
{
    QTest::addColumn<Lanceur>("lancer");
    QTest::addColumn<QString>("rapport");

    QTest::newRow("Echec") << Lanceur([] { throw Echec(Echec::EchecComposant, QStringLiteral("LirePrix")); })
                           << QStringLiteral("Erreur 440 : LirePrix");
    QTest::newRow("exception standard") << Lanceur([] { throw std::runtime_error("conversion impossible"); })
                                        << QStringLiteral("Erreur 51 : conversion impossible");
    QTest::newRow("mémoire épuisée") << Lanceur([] { throw std::bad_alloc(); })
                                     << QStringLiteral("Erreur 7 : Mémoire insuffisante");
    QTest::newRow("exception d'un autre type")
        << Lanceur([] { throw 42; }) << QStringLiteral("Erreur 51 : Erreur interne inconnue");
}

void TestRapportEchec::echecArreteLeGestionnaireALEtapeFautive()
{
    QFETCH(Lanceur, lancer);
    QFETCH(QString, rapport);

    const bool termine = executerCommande(*m_messages, [&] {
        m_journal.ajouter(QStringLiteral("étape 1"));
        lancer();
        m_journal.ajouter(QStringLiteral("étape 3"));
    });

    QVERIFY(!termine);
    const QStringList attendu{QStringLiteral("étape 1"),
                              QStringLiteral("message[Banc d'essai CCAM|Critique] ") + rapport};
    QCOMPARE(m_journal.entrees, attendu);
}

void TestRapportEchec::gestionnaireMeneASonTerme()
{
    const bool termine = executerCommande(*m_messages, [&] { m_journal.ajouter(QStringLiteral("étape")); });

    QVERIFY(termine);
    QCOMPARE(m_journal.entrees, QStringList{QStringLiteral("étape")});
}

QTEST_GUILESS_MAIN(TestRapportEchec)
#include "tst_rapportechec.moc"
