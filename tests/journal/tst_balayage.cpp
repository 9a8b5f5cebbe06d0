// The sweep of a list of acts and the comparison of two sweeps, run as a tester runs them.
#include "comparaisonjournaux.h"
#include "differencesenregistrements.h"
#include "executionbanc.h"
#include "listecodes.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#ifndef Q_OS_WIN
#include <csignal>
#endif

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

const QStringList actes{S("AAFA001"), S("ACQK001"), S("HFFC004"), S("JLNL001"), S("LHQK001"), S("LHQK005")};

bool ecrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly | QIODevice::Truncate) && fichier.write(octets) == octets.size();
}

QByteArray encoder(const QString& texte, const QString& encodage)
{
    if (encodage == QLatin1String("utf-16le"))
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE).encode(texte);
    if (encodage == QLatin1String("utf-16be"))
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE).encode(texte);
    QByteArray octets = texte.toUtf8();
    if (encodage == QLatin1String("crlf") || encodage == QLatin1String("bom+crlf"))
        octets.replace("\n", "\r\n");
    if (encodage.startsWith(QLatin1String("bom")))
        octets.prepend("\xEF\xBB\xBF");
    return octets;
}

QStringList entetes(const QString& sortie)
{
    return sortie.split(QLatin1Char('\n')).filter(QRegularExpression(S("^Commande ")));
}

} // namespace

class TestBalayage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void deuxReleasesBalayees();
    void ignorer_data();
    void ignorer();
    void enregistrements_data();
    void enregistrements();
    void listesRefusees_data();
    void listesRefusees();
    void encodages_data();
    void encodages();
    void centMilleCodes();
    void balayageInterrompu();

private:
    // Sweeps `actes` over the sample store `base` (a copy in the test's folder), into `journal`.
    ExecutionBanc balayer(const QString& base, const QString& journal, const QStringList& options = {});

    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestBalayage::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
}

ExecutionBanc TestBalayage::balayer(const QString& base, const QString& journal, const QStringList& options)
{
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(S("BANC_CCAM_BASE"), m_dossier->filePath(base));
    ecrireLignes(m_dossier->filePath(S("actes.txt")), actes);
    return lancerBanc(
        QStringList{S("--balayage"), S("actes.txt"), S("--date"), S("20200101"), S("--journal"), journal} +
            options,
        m_dossier->path(), environnement);
}

void TestBalayage::deuxReleasesBalayees()
{
    const QString a = m_dossier->filePath(S("a.sqlite"));
    const QString b = m_dossier->filePath(S("b.sqlite"));
    QVERIFY(QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), a));
    QVERIFY(QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), b));
    QFile(b).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    // Release B: one act's label, another's price, a third's regrouping code.
    QVERIFY(executerSql(b, "UPDATE acte SET libelle_court = 'scano rachis révisé' WHERE code = 'LHQK005'"));
    QVERIFY(executerSql(b, "UPDATE tarif SET prix = prix + 100 WHERE code = 'ACQK001'"));
    QVERIFY(executerSql(
        b, "UPDATE regroupement SET regroupement = 'ADE' WHERE code = 'AAFA001' AND activite = 1"));
    for (const QString& version : {S("a"), S("b")}) {
        const ExecutionBanc execution = balayer(version + S(".sqlite"), version + S(".jsonl"));
        QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
        // Not a terminal: one line per tenth, then the closing line.
        QVERIFY2(execution.erreurs.contains(S("Balayage : 100 % (6/6 actes")), qPrintable(execution.erreurs));
    }
    const QList<QJsonObject> journal = lireJournal(m_dossier->filePath(S("a.jsonl")));
    const auto commande = std::find_if(journal.begin(), journal.end(), [](const QJsonObject& e) {
        return e.value(S("genre")) == S("controle");
    });
    QVERIFY(commande != journal.end());
    QCOMPARE(commande->value(S("acte")).toString(), S("AAFA001"));

    const ExecutionBanc comparaison = lancerBanc(
        {S("--comparer"), S("a.jsonl"), S("b.jsonl"), S("--rapport"), S("rapport.html")}, m_dossier->path());

    QCOMPARE(comparaison.statut, 1);
    // Commands are numbered act after act, five an act, in the order 2, 4, 5, 6, 7. The store's rule for
    // an act's modifiers follows its regrouping code, so AAFA001's modifiers change with it.
    QCOMPARE(entetes(comparaison.sortie),
             (QStringList{S("Commande 2 : Command4 — AAFA001"), S("Commande 3 : Command5 — AAFA001"),
                          S("Commande 6 : Command2 — ACQK001"), S("Commande 26 : Command2 — LHQK005"),
                          S("Commande 29 : Command6 — LHQK005")}));
    const QStringList lignes = comparaison.sortie.split(QLatin1Char('\n'));
    QVERIFY(lignes.contains(S("  LireRegroupements.retour[ADC]\t\"ADC|Acte de chirurgie\"\t(absent)")));
    QVERIFY(lignes.contains(S("  LireRegroupements.retour[ADE]\t(absent)\t\"ADE|Acte d'échographie\"")));
    QVERIFY(lignes.contains(S("  LirePrix.retour\t\"2590\"\t\"2690\"")));
    QVERIFY(lignes.contains(
        S("  LireModificateursActe.retour[M]\t(absent)\t\"M|Urgence au cabinet après examen en "
          "urgence\"")));
    QVERIFY(comparaison.sortie.endsWith(S("11 différence(s) dans 5 commande(s) sur 30, 3 acte(s) sur 6.\n")));
    QVERIFY(lignes.contains(S("  LireRegroupements\t1 commande(s)\t1 acte(s)")));
    QVERIFY(lignes.contains(S("  message\t2 commande(s)\t2 acte(s)")));

    // The report parses as XML, has one section per act that differs, and loads nothing from elsewhere.
    QFile rapport(m_dossier->filePath(S("rapport.html")));
    QVERIFY(rapport.open(QIODevice::ReadOnly));
    const QByteArray page = rapport.readAll();
    QXmlStreamReader lecteur(page);
    QStringList sections;
    while (!lecteur.atEnd()) {
        if (lecteur.readNext() == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("h2"))
            sections << lecteur.readElementText();
    }
    QVERIFY2(!lecteur.hasError(), qPrintable(lecteur.errorString()));
    QCOMPARE(sections, (QStringList{S("AAFA001"), S("ACQK001"), S("LHQK005")}));
    QVERIFY(!page.contains("src=") && !page.contains("href=") && !page.contains("http"));
    QVERIFY(page.contains("<mark>&quot;2690&quot;</mark>"));
}

void TestBalayage::ignorer_data()
{
    QTest::addColumn<QString>("ignores");
    QTest::addColumn<int>("statut");
    QTest::addColumn<QStringList>("restants");

    QTest::newRow("rien d'ignoré") << QString() << 1 << QStringList{S("CheminConfig"), S("LirePrix")};
    QTest::newRow("CheminConfig") << S("CheminConfig") << 1 << QStringList{S("LirePrix")};
    QTest::newRow("les deux, espaces compris") << S("CheminConfig, LirePrix") << 0 << QStringList{};
}

void TestBalayage::ignorer()
{
    QFETCH(QString, ignores);
    QFETCH(int, statut);
    QFETCH(QStringList, restants);
    // Two systems: the configuration path differs in every command, a price in one.
    const QString ligne = S(R"({"n":1,"genre":"commande","acte":"%1","bouton":"Command2"}
{"n":2,"genre":"controle","acte":"%1","membre":"CheminConfig","acces":"ecriture","valeur":"%2"}
{"n":3,"genre":"controle","acte":"%1","membre":"LirePrix","acces":"appel","retour":"%3"}
{"n":4,"genre":"fin_commande","acte":"%1","bouton":"Command2","aboutie":true}
)");
    QVERIFY(ecrireLignes(m_dossier->filePath(S("a.jsonl")), {ligne.arg(S("AAFA001"), S("C:/x"), S("100")),
                                                             ligne.arg(S("ACQK001"), S("C:/x"), S("7"))}));
    QVERIFY(ecrireLignes(m_dossier->filePath(S("b.jsonl")), {ligne.arg(S("AAFA001"), S("/x"), S("100")),
                                                             ligne.arg(S("ACQK001"), S("/x"), S("8"))}));
    QStringList arguments{S("--comparer"), S("a.jsonl"), S("b.jsonl")};
    if (!ignores.isEmpty())
        arguments << S("--ignorer") << ignores;

    const ExecutionBanc execution = lancerBanc(arguments, m_dossier->path());

    QCOMPARE(execution.statut, statut);
    QStringList membres;
    for (const QString& l : execution.sortie.split(QLatin1Char('\n')))
        if (l.startsWith(S("  ")) && !l.contains(S("commande(s)")))
            membres << l.mid(2).section(QLatin1Char('.'), 0, 0);
    membres.removeDuplicates();
    QCOMPARE(membres, restants);
}

void TestBalayage::enregistrements_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("taille");
    QTest::addColumn<QStringList>("differences"); // key: fields of A / fields of B

    QTest::newRow("identiques") << S("A|1|B|2") << S("A|1|B|2") << 2 << QStringList{};
    QTest::newRow("un champ change") << S("A|1|B|2") << S("A|1|B|3") << 2 << QStringList{S("B:B|2/B|3")};
    QTest::newRow("ordre seul changé") << S("A|1|B|2") << S("B|2|A|1") << 2 << QStringList{};
    QTest::newRow("ajout et retrait")
        << S("A|1|B|2") << S("B|2|C|3") << 2 << QStringList{S("A:A|1/"), S("C:/C|3")};
    QTest::newRow("clé entourée d'espaces") << S(" A |1") << S("A|1") << 2 << QStringList{S("A: A |1/A|1")};
    QTest::newRow("clé répétée, appariée dans l'ordre")
        << S("F|x|F|y") << S("F|x|F|z") << 2 << QStringList{S("F#2:F|y/F|z")};
    QTest::newRow("dernier enregistrement incomplet, laissé comme par les commandes")
        << S("A|1|B") << S("A|1|B|2") << 2 << QStringList{S("B:/B|2")};
    QTest::newRow("liste vide") << QString() << S("4|a|1,4|") << 4 << QStringList{S("4:/4|a|1,4|")};
}

void TestBalayage::enregistrements()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, taille);
    QFETCH(QStringList, differences);
    QStringList trouvees;
    for (const DifferenceEnregistrement& d : differencesEnregistrements(a, b, taille))
        trouvees << d.cle + QLatin1Char(':') + d.champsA.join(QLatin1Char('|')) + QLatin1Char('/') +
                        d.champsB.join(QLatin1Char('|'));
    QCOMPARE(trouvees, differences);
}

void TestBalayage::listesRefusees_data()
{
    QTest::addColumn<QByteArray>("liste");
    QTest::addColumn<QString>("erreur");

    QTest::newRow("vide") << QByteArray() << S("actes.txt : aucun code d'acte");
    QTest::newRow("commentaires seulement") << QByteArray("# rien\n\n  \n") << S("aucun code d'acte");
    QTest::newRow("ligne de 10 Ko") << QByteArray("AAFA001\n" + QByteArray(10240, 'A') + "\n")
                                    << S("actes.txt:2 : ligne trop longue");
    QTest::newRow("ligne CSV") << QByteArray("AAFA001;exérèse\n") << S("actes.txt:1 : « AAFA001;exérèse »");
    QTest::newRow("UTF-16 sans marque") << QByteArray("A\0A\0F\0A\0\n\0", 10) << S("actes.txt:1");
}

void TestBalayage::listesRefusees()
{
    QFETCH(QByteArray, liste);
    QFETCH(QString, erreur);
    QVERIFY(ecrireOctets(m_dossier->filePath(S("actes.txt")), liste));

    const ExecutionBanc execution =
        lancerBanc({S("--balayage"), S("actes.txt"), S("--journal"), S("j.jsonl")}, m_dossier->path());

    QCOMPARE(execution.statut, 2);
    QVERIFY2(execution.erreurs.contains(erreur), qPrintable(execution.erreurs));
    QVERIFY(!QFile::exists(m_dossier->filePath(S("j.jsonl"))));
}

void TestBalayage::encodages_data()
{
    QTest::addColumn<QString>("encodage");
    for (const char* encodage : {"utf-8", "crlf", "bom", "bom+crlf", "utf-16le", "utf-16be"})
        QTest::newRow(encodage) << S(encodage);
}

void TestBalayage::encodages()
{
    QFETCH(QString, encodage);
    // The code list.
    QVERIFY(ecrireOctets(m_dossier->filePath(S("actes.txt")),
                         encoder(S("# deux actes\nHFFC004\n\nLHQK005\n"), encodage)));
    const ExecutionBanc balayage =
        lancerBanc({S("--balayage"), S("actes.txt"), S("--commandes"), S("6"), S("--journal"), S("b.jsonl")},
                   m_dossier->path());
    QVERIFY2(balayage.statut == 0, qPrintable(balayage.erreurs));
    QStringList vus;
    for (const QJsonObject& e : lireJournal(m_dossier->filePath(S("b.jsonl"))))
        if (e.value(S("genre")) == S("commande"))
            vus << e.value(S("acte")).toString();
    QCOMPARE(vus, (QStringList{S("HFFC004"), S("LHQK005")}));

    // A scenario.
    QVERIFY(ecrireOctets(
        m_dossier->filePath(S("s.jsonl")),
        encoder(S("{\"remplir\": \"txtCodeCCAM\", \"texte\": \"HFFC004\"}\n{\"cliquer\": \"Command6\"}\n"),
                encodage)));
    const ExecutionBanc scenario =
        lancerBanc({S("--scenario"), S("s.jsonl"), S("--journal"), S("s-journal.jsonl")}, m_dossier->path());
    QVERIFY2(scenario.statut == 0, qPrintable(scenario.erreurs));

    // Two journals, one of them re-encoded as an editor would save it.
    QFile original(m_dossier->filePath(S("b.jsonl")));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QVERIFY(ecrireOctets(m_dossier->filePath(S("c.jsonl")),
                         encoder(QString::fromUtf8(original.readAll()), encodage)));
    const ExecutionBanc comparaison =
        lancerBanc({S("--comparer"), S("b.jsonl"), S("c.jsonl")}, m_dossier->path());
    QCOMPARE(comparaison.statut, 0);
    QCOMPARE(comparaison.sortie, S("Aucune différence sur 2 commande(s), 2 acte(s).\n"));
}

void TestBalayage::centMilleCodes()
{
    QByteArray octets;
    for (int i = 0; i < 100000; ++i)
        octets += "ZZ" + QByteArray::number(100000 + i) + "\r\n";
    QBuffer tampon(&octets);
    QVERIFY(tampon.open(QIODevice::ReadOnly));

    const ListeCodes liste = lireListeCodes(tampon);

    QCOMPARE(liste.erreur, QString());
    QCOMPARE(liste.codes.size(), 100000);
    QCOMPARE(liste.codes.constLast(), S("ZZ199999"));
}

void TestBalayage::balayageInterrompu()
{
#ifdef Q_OS_WIN
    QSKIP("Ctrl+C arrive ici par un signal ; Windows ne l'envoie qu'à une console");
#else
    QStringList beaucoup;
    for (int i = 0; i < 5000; ++i)
        beaucoup << actes;
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), beaucoup));
    QProcess processus;
    processus.setProgram(QStringLiteral(BANC_CCAM_PROGRAMME));
    processus.setArguments({S("--balayage"), S("actes.txt"), S("--journal"), S("j.jsonl")});
    processus.setWorkingDirectory(m_dossier->path());
    processus.start();
    QVERIFY(processus.waitForStarted());
    // Stopped once well under way.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_dossier->filePath(S("j.jsonl"))).size() > 200000, 60000);
    ::kill(pid_t(processus.processId()), SIGINT);
    QVERIFY(processus.waitForFinished(60000));

    QCOMPARE(processus.exitStatus(), QProcess::NormalExit);
    QCOMPARE(processus.exitCode(), 1);
    const QList<QJsonObject> journal = lireJournal(m_dossier->filePath(S("j.jsonl")));
    QVERIFY(!journal.isEmpty());
    const QJsonObject fin = journal.constLast();
    QCOMPARE(fin.value(S("genre")).toString(), S("fin_balayage"));
    QCOMPARE(fin.value(S("interrompu")).toBool(), true);
    const int faits = fin.value(S("actes")).toInt();
    QVERIFY(faits > 0 && faits < beaucoup.size());
    // Every act it started has its five commands, each ended.
    int commandes = 0;
    int finies = 0;
    for (const QJsonObject& e : journal) {
        commandes += e.value(S("genre")) == S("commande");
        finies += e.value(S("genre")) == S("fin_commande");
    }
    QCOMPARE(commandes, faits * 5);
    QCOMPARE(finies, commandes);
#endif
}

QTEST_GUILESS_MAIN(TestBalayage)
#include "tst_balayage.moc"
