// Two journals compared: two releases of the CCAM store under one scenario, and the pairing rules.
#include "comparaisonjournaux.h"
#include "executionbanc.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

// A journal of one scenario step pressing `bouton`, with the events given as JSON objects.
QStringList journal(const QString& bouton, const QStringList& evenements, int ligne = 1)
{
    QStringList lignes{
        S(R"({"n":1,"t":"2026-01-01T00:00:00.000Z","genre":"etape","ligne":%1,"etape":{"cliquer":"%2"}})")
            .arg(ligne)
            .arg(bouton),
        S(R"({"n":2,"genre":"commande","bouton":"%1"})").arg(bouton)};
    lignes += evenements;
    lignes << S(R"({"n":9,"genre":"fin_commande","bouton":"%1","aboutie":true,"duree_us":5})").arg(bouton);
    return lignes;
}

} // namespace

class TestComparaison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void deuxVersionsDeLaBase();
    void comparaison_data();
    void comparaison();
    void nonAppariables_data();
    void nonAppariables();

private:
    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestComparaison::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
}

void TestComparaison::deuxVersionsDeLaBase()
{
    const QString a = m_dossier->filePath(S("a.sqlite"));
    const QString b = m_dossier->filePath(S("b.sqlite"));
    QVERIFY(QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), a));
    QVERIFY(QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), b));
    QFile(b).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    // One label and one price of one act change in release B.
    QVERIFY(executerSql(
        b, "UPDATE acte SET libelle_court = 'scano rachis, libellé révisé' WHERE code = 'LHQK005'"));
    QVERIFY(executerSql(b, "UPDATE tarif SET prix = 2610 WHERE code = 'LHQK005' AND prix = 2590"));
    const QString scenario = m_dossier->filePath(S("scenario.jsonl"));
    QVERIFY(ecrireLignes(
        scenario, {S(R"({"remplir": "txtCodeCCAM", "texte": "LHQK005"})"),
                   S(R"({"date": "DTPicker1", "valeur": "20200101"})"), S(R"({"cliquer": "Command6"})"),
                   S(R"({"cliquer": "Command2"})"), S(R"({"saisir": "LHQK005"})"), S(R"({"repondre": "OK"})"),
                   S(R"({"repondre": "OK"})"), S(R"({"cliquer": "Command4"})"),
                   S(R"({"cliquer": "cmdSelectActeCCAM"})"), S(R"({"selectionner": "LHQK005"})")}));
    for (const QString& version : {S("a"), S("b")}) {
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(S("BANC_CCAM_BASE"), m_dossier->filePath(version + S(".sqlite")));
        const ExecutionBanc execution =
            lancerBanc({S("--scenario"), scenario, S("--journal"), version + S(".jsonl")}, m_dossier->path(),
                       environnement);
        QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
    }

    const ExecutionBanc comparaison =
        lancerBanc({S("--comparer"), S("a.jsonl"), S("b.jsonl")}, m_dossier->path());

    QCOMPARE(comparaison.statut, 1);
    const QString ancien = S("\"scano plusieurs segments rachis\"");
    const QString nouveau = S("\"scano rachis, libellé révisé\"");
    QCOMPARE(
        comparaison.sortie.split(QLatin1Char('\n')),
        (QStringList{
            S("Commande 1 : Command6 (ligne 3)"),
            S("  LireLibelle.retour\t%1\t%2").arg(ancien, nouveau),
            S("Commande 2 : Command2 (ligne 4)"),
            S("  LireLibelle.retour\t%1\t%2").arg(ancien, nouveau),
            S("  message.texte\t\"Libelle scano plusieurs segments rachis\"\t\"Libelle scano rachis, libellé "
              "révisé\""),
            S("  LirePrix.retour\t\"2590\"\t\"2610\""),
            S("  message#2.texte\t\"Prix en centimes 2590\"\t\"Prix en centimes 2610\""),
            S("Commande 4 : cmdSelectActeCCAM (ligne 9)"),
            S("  LibelleCourtActe.retour\t%1\t%2").arg(ancien, nouveau),
            S("  PrixActe.retour\t\"2590\"\t\"2610\""),
            S("Différences par membre :"),
            S("  LireLibelle\t2 commande(s)"),
            S("  message\t1 commande(s)"),
            S("  LirePrix\t1 commande(s)"),
            S("  LibelleCourtActe\t1 commande(s)"),
            S("  PrixActe\t1 commande(s)"),
            S("7 différence(s) dans 3 commande(s) sur 4."),
            S(""),
        }));
}

void TestComparaison::comparaison_data()
{
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<int>("issue");
    QTest::addColumn<QString>("sortie");

    const QString lire = S(
        R"({"n":3,"t":"x","genre":"controle","membre":"LirePrix","acces":"appel","retour":"%1","duree_us":%2})");
    const QString boite = S(R"({"n":4,"genre":"message","texte":"%1","titre":"T","icone":"aucune"})");
    QTest::newRow("temps, durées et numéros ignorés")
        << journal(S("Command2"), {lire.arg(S("100")).arg(3)})
        << journal(S("Command2"), {lire.arg(S("100")).arg(999)}) << int(IssueComparaison::Identiques)
        << S("Aucune différence sur 1 commande(s).\n");
    QTest::newRow("une réponse qui change")
        << journal(S("Command2"), {lire.arg(S("100")).arg(1)})
        << journal(S("Command2"), {lire.arg(S("120")).arg(1)}) << int(IssueComparaison::Differents)
        << S("Commande 1 : Command2 (ligne 1)\n  LirePrix.retour\t\"100\"\t\"120\"\n"
             "Différences par membre :\n  LirePrix\t1 commande(s)\n"
             "1 différence(s) dans 1 commande(s) sur 1.\n");
    QTest::newRow("une boîte de plus dans B")
        << journal(S("Command3"), {boite.arg(S("x"))})
        << journal(S("Command3"), {boite.arg(S("x")), boite.arg(S("y"))}) << int(IssueComparaison::Differents)
        << S("Commande 1 : Command3 (ligne 1)\n  message#2\t(absent)\t"
             R"({"genre":"message","icone":"aucune","texte":"y","titre":"T"})"
             "\nDifférences par membre :\n  message\t1 commande(s)\n"
             "1 différence(s) dans 1 commande(s) sur 1.\n");
    QTest::newRow("une boîte native dans B, nommée par son membre")
        << journal(S("Command2"), {lire.arg(S("100")).arg(1)})
        << journal(
               S("Command2"),
               {S(R"({"genre":"boite_native","texte":"Base introuvable","reponse":"OK","membre":"LirePrix"})"),
                lire.arg(S("100")).arg(1)})
        << int(IssueComparaison::Differents)
        << S("Commande 1 : Command2 (ligne 1)\n  boite_native(LirePrix)\t(absent)\t"
             R"({"genre":"boite_native","membre":"LirePrix","reponse":"OK","texte":"Base introuvable"})"
             "\nDifférences par membre :\n  boite_native(LirePrix)\t1 commande(s)\n"
             "1 différence(s) dans 1 commande(s) sur 1.\n");
    QTest::newRow("un échec dans B")
        << journal(S("Command6"), {lire.arg(S("1")).arg(1)})
        << journal(
               S("Command6"),
               {S(R"({"genre":"controle","membre":"LirePrix","acces":"appel","echec":{"numero":440,"description":"d"}})")})
        << int(IssueComparaison::Differents)
        << S("Commande 1 : Command6 (ligne 1)\n  LirePrix.retour\t\"1\"\t(absent)\n"
             "  LirePrix.echec\t(absent)\t{\"description\":\"d\",\"numero\":440}\n"
             "Différences par membre :\n  LirePrix\t1 commande(s)\n"
             "2 différence(s) dans 1 commande(s) sur 1.\n");
}

void TestComparaison::comparaison()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(int, issue);
    QFETCH(QString, sortie);
    QVERIFY(ecrireLignes(m_dossier->filePath(S("a.jsonl")), a));
    QVERIFY(ecrireLignes(m_dossier->filePath(S("b.jsonl")), b));

    QString texte;
    QTextStream flux(&texte);
    QString erreur;
    const IssueComparaison resultat =
        comparerJournaux(m_dossier->filePath(S("a.jsonl")), m_dossier->filePath(S("b.jsonl")), flux, erreur);
    flux.flush();

    QCOMPARE(int(resultat), issue);
    QCOMPARE(texte, sortie);
    QCOMPARE(erreur, QString());
}

void TestComparaison::nonAppariables_data()
{
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<QString>("raison");

    QTest::newRow("autre scénario") << journal(S("Command1"), {}) << journal(S("Command1"), {}, 2)
                                    << S("pas le même scénario (étape 1");
    QTest::newRow("B sans ses étapes")
        << journal(S("Command1"), {}) << journal(S("Command1"), {}).mid(1) << S("pas le même scénario");
    QStringList sansEtapes = journal(S("Command4"), {}).mid(1);
    QTest::newRow("commandes différentes sans scénario")
        << journal(S("Command1"), {}).mid(1) << sansEtapes
        << S("pas les mêmes commandes (Command1 / Command4)");
    QTest::newRow("ligne illisible dans B")
        << journal(S("Command1"), {}) << journal(S("Command1"), {S("{tronqué")})
        << S("b.jsonl:3 : ligne de journal illisible");
    QTest::newRow("objet sans genre")
        << journal(S("Command1"), {S(R"({"n":3})")}) << journal(S("Command1"), {}) << S("a.jsonl:3");
}

void TestComparaison::nonAppariables()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(QString, raison);
    QVERIFY(ecrireLignes(m_dossier->filePath(S("a.jsonl")), a));
    QVERIFY(ecrireLignes(m_dossier->filePath(S("b.jsonl")), b));

    const ExecutionBanc execution =
        lancerBanc({S("--comparer"), S("a.jsonl"), S("b.jsonl")}, m_dossier->path());

    QCOMPARE(execution.statut, 2);
    QCOMPARE(execution.sortie, QString());
    QVERIFY2(execution.erreurs.contains(raison), qPrintable(execution.erreurs));
}

QTEST_GUILESS_MAIN(TestComparaison)
#include "tst_comparaison.moc"
