// The sweep of a list of acts and the comparison of two sweeps, run as a tester runs them.
#include "comparaisonjournaux.h"
#include "differencesenregistrements.h"
#include "executionbanc.h"
#include "listecodes.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
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

QStringList entetes(const QString& sortie, const QString& debut = S("Commande "))
{
    return sortie.split(QLatin1Char('\n')).filter(QRegularExpression(u'^' + debut));
}

// The sections of an HTML report, once it is known to parse as XML.
QStringList sectionsRapport(const QByteArray& page, QString& erreur)
{
    QXmlStreamReader lecteur(page);
    QStringList sections;
    while (!lecteur.atEnd()) {
        if (lecteur.readNext() == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("h2"))
            sections << lecteur.readElementText();
    }
    erreur = lecteur.errorString();
    return sections;
}

const QString verificateur = QStringLiteral(BANC_TARVO_VERIFIER);
const QString banc = QStringLiteral(BANC_CCAM_PROGRAMME);

} // namespace

class TestBalayage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void deuxReleasesBalayees();
    void bibliothequeDeuxReleases();
    void bibliothequeStatuts_data();
    void bibliothequeStatuts();
    void ignorer_data();
    void ignorer();
    void enregistrements_data();
    void enregistrements();
    void listesRefusees_data();
    void listesRefusees();
    void encodages_data();
    void encodages();
    void centMilleCodes();
    void balayageInterrompu_data();
    void balayageInterrompu();
    void pannes_data();
    void pannes();
    void tranches_data();
    void tranches();

private:
    // Sweeps `actes` over the sample store `base` (a copy in the test's folder), into `journal`.
    ExecutionBanc balayer(const QString& base, const QString& journal, const QStringList& options = {});
    // Copies the sample store into the test's folder, writable.
    bool copierEchantillon(const QString& nom);

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

bool TestBalayage::copierEchantillon(const QString& nom)
{
    const QString copie = m_dossier->filePath(nom);
    return QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), copie) &&
           QFile(copie).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
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
    QString erreur;
    QCOMPARE(sectionsRapport(page, erreur), (QStringList{S("AAFA001"), S("ACQK001"), S("LHQK005")}));
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    QVERIFY(!page.contains("src=") && !page.contains("href=") && !page.contains("http"));
    QVERIFY(page.contains("<mark>&quot;2690&quot;</mark>"));
}

// Two releases of the store swept through our library by the companion, B with three acts changed (a price,
// an association, a coverage field): the comparison names exactly those three, one call each.
void TestBalayage::bibliothequeDeuxReleases()
{
    QVERIFY(copierEchantillon(S("a.sqlite")) && copierEchantillon(S("b.sqlite")));
    const QString b = m_dossier->filePath(S("b.sqlite"));
    QVERIFY(executerSql(b, "UPDATE tarif SET prix = prix + 100 WHERE code = 'ACQK001'"));
    QVERIFY(executerSql(b, "INSERT INTO renvoi VALUES ('LHQK005', '06', 'ZZLP025')"));
    QVERIFY(executerSql(b, "INSERT INTO note VALUES ('HFFC018', '20050301', '13', 'Indication : obésité')"));
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), actes + QStringList{S("HFFC018")}));
    for (const QString& version : {S("a"), S("b")}) {
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(S("BANC_CCAM_BASE"), m_dossier->filePath(version + S(".sqlite")));
        const ExecutionBanc execution =
            lancerProgramme(verificateur,
                            {S("--balayage"), S("actes.txt"), S("--date"), S("20200101"), S("--journal"),
                             version + S(".jsonl")},
                            m_dossier->path(), environnement);
        QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
        QVERIFY2(execution.erreurs.contains(S("Balayage : 100 % (7/7 actes")), qPrintable(execution.erreurs));
        QVERIFY2(
            execution.erreurs.contains(S(
                "Balayage : 7 acte(s), 0 réponse(s) hors contrat, 0 échec(s), 0 plantage(s), 0 blocage(s).")),
            qPrintable(execution.erreurs));
    }

    const ExecutionBanc comparaison = lancerBanc(
        {S("--comparer"), S("a.jsonl"), S("b.jsonl"), S("--rapport"), S("rapport.html")}, m_dossier->path());

    QCOMPARE(comparaison.statut, 1);
    // Four calls an act, in the order price, coverage, incompatibilities, associations.
    QCOMPARE(entetes(comparaison.sortie, S("Appel ")),
             (QStringList{S("Appel 5 : GetPrixUnitaireActeSupplement_Tarvo — ACQK001"),
                          S("Appel 24 : ListeCodeAssociationActe_Tarvo — LHQK005"),
                          S("Appel 26 : GetPriseEnCharge_Tarvo — HFFC018")}));
    const QStringList lignes = comparaison.sortie.split(QLatin1Char('\n'));
    QVERIFY(lignes.contains(
        S("  GetPrixUnitaireActeSupplement_Tarvo.enregistrements[001]\t\"2590|001\"\t\"2690|001\"")));
    QVERIFY(lignes.contains(
        S("  ListeCodeAssociationActe_Tarvo.enregistrements[ZZLP025]\t(absent)\t\"ZZLP025|anesthésie "
          "complémentaire niv. 1|\"")));
    QVERIFY(lignes.contains(S("  ListeCodeAssociationActe_Tarvo.resultat\t2\t3")));
    QVERIFY(
        lignes.contains(S("  GetPriseEnCharge_Tarvo.enregistrements[1]\t\"1|Pris en charge, "
                          "remboursable|1|Remboursable|\"\t\"3|Pris en charge sous conditions|3|Remboursable "
                          "selon les circonstances|Indication specifique\"")));
    QVERIFY(lignes.contains(S("  GetPriseEnCharge_Tarvo\t1 appel(s)\t1 acte(s)")));
    QVERIFY2(comparaison.sortie.endsWith(S("4 différence(s) dans 3 appel(s) sur 28, 3 acte(s) sur 7.\n")),
             qPrintable(comparaison.sortie));

    QFile rapport(m_dossier->filePath(S("rapport.html")));
    QVERIFY(rapport.open(QIODevice::ReadOnly));
    const QByteArray page = rapport.readAll();
    QString erreur;
    QCOMPARE(sectionsRapport(page, erreur), (QStringList{S("ACQK001"), S("LHQK005"), S("HFFC018")}));
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    QVERIFY(page.contains("<th>Appels</th>"));
}

// A connection that fails still sweeps every act; a missing entry point stops the sweep at its first call.
// Either way the journal ends with fin_balayage and its status.
void TestBalayage::bibliothequeStatuts_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("statut");
    QTest::addColumn<QString>("erreurs");
    QTest::addColumn<QStringList>("appels"); // the calls made for an act, by entry point

    QStringList tous;
    for (qsizetype i = 0; i < actes.size(); ++i)
        tous << S("GetPrixUnitaireActeSupplement_Tarvo") << S("GetPriseEnCharge_Tarvo")
             << S("ListeCodeIncompatibilitesActe_Tarvo") << S("ListeCodeAssociationActe_Tarvo");
    QTest::newRow("base introuvable : tout balayé quand même")
        << QStringList{} << S("/nulle/part/ccam.sqlite") << 1
        << S("Balayage échoué : la connexion a répondu -5 (TARVO_BASE_INTROUVABLE") << tous;
    QTest::newRow("point d'entrée absent : arrêt à son premier appel")
        << QStringList{S("--bibliotheque"), QStringLiteral(CHEMIN_TARVO_INCOMPLET)} << QString() << 2
        << S("erreur 453 : Point d'entrée GetPriseEnCharge_Tarvo introuvable")
        << QStringList{S("GetPrixUnitaireActeSupplement_Tarvo"), S("GetPriseEnCharge_Tarvo")};
}

void TestBalayage::bibliothequeStatuts()
{
    QFETCH(QStringList, options);
    QFETCH(QString, base);
    QFETCH(int, statut);
    QFETCH(QString, erreurs);
    QFETCH(QStringList, appels);
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), actes));
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.remove(S("BANC_CCAM_BASE"));
    if (!base.isEmpty())
        environnement.insert(S("BANC_CCAM_BASE"), base);

    const ExecutionBanc execution = lancerProgramme(
        verificateur, QStringList{S("--balayage"), S("actes.txt"), S("--journal"), S("j.jsonl")} + options,
        m_dossier->path(), environnement);

    QCOMPARE(execution.statut, statut);
    QVERIFY2(execution.erreurs.contains(erreurs), qPrintable(execution.erreurs));
    const QList<QJsonObject> journal = lireJournal(m_dossier->filePath(S("j.jsonl")));
    QVERIFY(!journal.isEmpty());
    QCOMPARE(journal.constLast().value(S("genre")).toString(), S("fin_balayage"));
    QCOMPARE(journal.constLast().value(S("statut")).toInt(), statut);
    QStringList faits;
    for (const QJsonObject& e : journal)
        if (e.contains(S("acte")) && e.value(S("genre")) == S("bibliotheque"))
            faits << e.value(S("point_entree")).toString();
    QCOMPARE(faits, appels);
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

// Both sweeps read their list with one reader and refuse it, or an option, before any file is written.
void TestBalayage::listesRefusees_data()
{
    QTest::addColumn<QString>("programme");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("liste");
    QTest::addColumn<QString>("erreur");

    for (const QString& programme : {banc, verificateur}) {
        const QByteArray nom = QFileInfo(programme).baseName().toUtf8();
        QTest::addRow("%s : vide", nom.constData())
            << programme << QStringList{} << QByteArray() << S("actes.txt : aucun code d'acte");
        QTest::addRow("%s : commentaires seulement", nom.constData())
            << programme << QStringList{} << QByteArray("# rien\n\n  \n") << S("aucun code d'acte");
        QTest::addRow("%s : ligne de 10 Ko", nom.constData())
            << programme << QStringList{} << QByteArray("AAFA001\n" + QByteArray(10240, 'A') + "\n")
            << S("actes.txt:2 : ligne trop longue");
        QTest::addRow("%s : ligne CSV", nom.constData())
            << programme << QStringList{} << QByteArray("AAFA001;exérèse\n")
            << S("actes.txt:1 : « AAFA001;exérèse »");
        QTest::addRow("%s : UTF-16 sans marque", nom.constData())
            << programme << QStringList{} << QByteArray("A\0A\0F\0A\0\n\0", 10) << S("actes.txt:1");
        QTest::addRow("%s : plus de tranches que d'actes", nom.constData())
            << programme << QStringList{S("--tranche"), S("3/3")} << QByteArray("AAFA001\nACQK001\n")
            << S("--tranche 3/3 : la liste n'a que 2 acte(s)");
    }
    const QByteArray liste("AAFA001\n");
    QTest::newRow("banc-ccam : grille inconnue")
        << banc << QStringList{S("--grille"), S("003")} << liste << S("--grille : 000, 001 ou 002");
    QTest::newRow("tarvo-verifier : date mal formée")
        << verificateur << QStringList{S("--date"), S("2025-06-15")} << liste
        << S("Date invalide : 2025-06-15");
    QTest::newRow("tarvo-verifier : grille inconnue") << verificateur << QStringList{S("--grille"), S("003")}
                                                      << liste << S("Grille tarifaire invalide : 003");
    QTest::newRow("tarvo-verifier : avec --tous") << verificateur << QStringList{S("--tous")} << liste
                                                  << S("--balayage et --tous ne vont pas ensemble");
    for (const QString& programme : {banc, verificateur})
        QTest::addRow("%s : délai d'appel nul", qPrintable(QFileInfo(programme).baseName()))
            << programme << QStringList{S("--delai-appel"), S("0")} << liste
            << S("Délai d'appel invalide : 0 (attendu un nombre de secondes de 1 à 86400)");
    QTest::newRow("tarvo-verifier : tranche 0/3") << verificateur << QStringList{S("--tranche"), S("0/3")}
                                                  << liste << S("--tranche : « 0/3 » n'est pas une tranche");
    QTest::newRow("tarvo-verifier : 65 processus")
        << verificateur << QStringList{S("--parallele"), S("65")} << liste
        << S("--parallele : « 65 » n'est pas un nombre de processus de 1 à 64");
}

void TestBalayage::listesRefusees()
{
    QFETCH(QString, programme);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, liste);
    QFETCH(QString, erreur);
    QVERIFY(ecrireOctets(m_dossier->filePath(S("actes.txt")), liste));

    const ExecutionBanc execution = lancerProgramme(
        programme, QStringList{S("--balayage"), S("actes.txt"), S("--journal"), S("j.jsonl")} + options,
        m_dossier->path());

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

// Ctrl+C stops either sweep after the current act: each act it started is whole, the journal complete.
void TestBalayage::balayageInterrompu_data()
{
    QTest::addColumn<QString>("programme");
    QTest::addColumn<QString>("genre"); // the events each act has a fixed number of
    QTest::addColumn<int>("parActe");
    QTest::addColumn<QString>("dernierAppel"); // the last library call before fin_balayage; empty: none
    QTest::newRow("banc-ccam") << banc << S("commande") << 5 << QString();
    QTest::newRow("tarvo-verifier") << verificateur << S("bibliotheque") << 4 << S("DeConnection_Tarvo");
}

void TestBalayage::balayageInterrompu()
{
#ifdef Q_OS_WIN
    QSKIP("Ctrl+C arrive ici par un signal ; Windows ne l'envoie qu'à une console");
#else
    QFETCH(QString, programme);
    QFETCH(QString, genre);
    QFETCH(int, parActe);
    QFETCH(QString, dernierAppel);
    QStringList beaucoup;
    for (int i = 0; i < 5000; ++i)
        beaucoup << actes;
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), beaucoup));
    QProcess processus;
    processus.setProgram(programme);
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
    QVERIFY(journal.size() > 1);
    const QJsonObject fin = journal.constLast();
    QCOMPARE(fin.value(S("genre")).toString(), S("fin_balayage"));
    QCOMPARE(fin.value(S("interrompu")).toBool(), true);
    const int faits = fin.value(S("actes")).toInt();
    QVERIFY(faits > 0 && faits < beaucoup.size());
    int evenements = 0;
    int finies = 0;
    for (const QJsonObject& e : journal) {
        evenements += e.value(S("genre")) == genre && e.contains(S("acte"));
        finies += e.value(S("genre")) == S("fin_commande");
    }
    QCOMPARE(evenements, faits * parActe);
    if (genre == S("commande"))
        QCOMPARE(finies, evenements);
    QCOMPARE(journal.at(journal.size() - 2).value(S("point_entree")).toString(), dernierAppel);
#endif
}

// Either component in its worker: a crash or a hang costs its act only, the sweep goes on and names exactly
// those calls; a component that dies on every act is given up; Ctrl+C ends a hung call at once.
void TestBalayage::pannes_data()
{
    QTest::addColumn<bool>("controle");  // the control's sweep (banc-ccam), else the library's
    QTest::addColumn<QString>("pannes"); // CTL_FAUTIF_PANNES or TARVO_FAUTIF_PANNES: "acte:membre:panne,..."
    QTest::addColumn<bool>("interrompre");
    QTest::addColumn<QStringList>("attendues"); // "genre acte appel" of each crash or hang
    QTest::addColumn<int>("actes");             // done, as fin_balayage counts them
    QTest::addColumn<QString>("bilan");         // the standard error's last line
    QTest::addColumn<QStringList>("options");   // of both sweeps

    QTest::newRow("bibliothèque : un plantage, un blocage, le reste répond")
        << false
        << S("ACQK001:GetPriseEnCharge_Tarvo:plantage,HFFC004:ListeCodeAssociationActe_Tarvo:blocage")
        << false
        << QStringList{S("plantage ACQK001 GetPriseEnCharge_Tarvo"),
                       S("blocage HFFC004 ListeCodeAssociationActe_Tarvo")}
        << 6 << S("Balayage : 6 acte(s), 0 réponse(s) hors contrat, 0 échec(s), 1 plantage(s), 1 blocage(s).")
        << QStringList{};
    QTest::newRow("bibliothèque : plantage à chaque acte, abandonné au cinquième")
        << false << S("*:GetPrixUnitaireActeSupplement_Tarvo:plantage") << false
        << QStringList(5, S("plantage %1 GetPrixUnitaireActeSupplement_Tarvo")) << 5
        << S("Balayage : 5 acte(s), 0 réponse(s) hors contrat, 0 échec(s), 5 plantage(s), 0 blocage(s).")
        << QStringList{};
    QTest::newRow("bibliothèque : Ctrl+C pendant un blocage")
        << false << S("JLNL001:GetPriseEnCharge_Tarvo:blocage") << true << QStringList{} << 3
        << S("Balayage : 3 acte(s), 0 réponse(s) hors contrat, 0 "
             "échec(s), 0 plantage(s), 0 blocage(s).")
        << QStringList{};
    QTest::newRow("contrôle : un plantage, un blocage, le reste répond")
        << true << S("ACQK001:LireModificateursActe:plantage,HFFC004:LireLibelle:blocage") << false
        << QStringList{S("plantage ACQK001 Command4/LireModificateursActe"),
                       S("blocage HFFC004 Command2/LireLibelle")}
        << 6
        << S("Balayage : 6 acte(s), 0 commande(s) en échec, 1 plantage(s), 1 blocage(s), 0 boîte(s) "
             "native(s).")
        << QStringList{};
    QTest::newRow("contrôle : plantage à chaque acte, abandonné au cinquième")
        << true << S("*:LireRegroupements:plantage") << false
        << QStringList(5, S("plantage %1 Command5/LireRegroupements")) << 5
        << S("Balayage : 5 acte(s), 0 commande(s) en échec, 5 plantage(s), 0 blocage(s), 0 boîte(s) "
             "native(s).")
        << QStringList{};
    QTest::newRow("contrôle : Ctrl+C pendant un blocage")
        << true << S("JLNL001:LireModificateursActe:blocage") << true << QStringList{} << 3
        << S("Balayage : 3 acte(s), 0 commande(s) en échec, 0 plantage(s), 0 blocage(s), 0 boîte(s) "
             "native(s).")
        << QStringList{};
    // Each crash or hang restarts its own worker only; the journal is the one-worker journal.
    QTest::newRow("bibliothèque, trois processus : un plantage, un blocage, comparés à un seul")
        << false
        << S("ACQK001:GetPriseEnCharge_Tarvo:plantage,HFFC004:ListeCodeAssociationActe_Tarvo:blocage")
        << false
        << QStringList{S("plantage ACQK001 GetPriseEnCharge_Tarvo"),
                       S("blocage HFFC004 ListeCodeAssociationActe_Tarvo")}
        << 6 << S("Balayage : 6 acte(s), 0 réponse(s) hors contrat, 0 échec(s), 1 plantage(s), 1 blocage(s).")
        << QStringList{S("--parallele"), S("3")};
    QTest::newRow("contrôle, deux processus : un plantage, un blocage, comparés à un seul")
        << true << S("ACQK001:LireModificateursActe:plantage,HFFC004:LireLibelle:blocage") << false
        << QStringList{S("plantage ACQK001 Command4/LireModificateursActe"),
                       S("blocage HFFC004 Command2/LireLibelle")}
        << 6
        << S("Balayage : 6 acte(s), 0 commande(s) en échec, 1 plantage(s), 1 blocage(s), 0 boîte(s) "
             "native(s).")
        << QStringList{S("--parallele"), S("2")};
    // The other worker's acts after the hung one are finished and kept, in act order.
    QTest::newRow("bibliothèque, deux processus : Ctrl+C pendant un blocage")
        << false << S("JLNL001:GetPriseEnCharge_Tarvo:blocage") << true << QStringList{} << 4
        << S("Balayage : 4 acte(s), 0 réponse(s) hors contrat, 0 "
             "échec(s), 0 plantage(s), 0 blocage(s).")
        << QStringList{S("--parallele"), S("2")};
}

void TestBalayage::pannes()
{
    QFETCH(bool, controle);
    QFETCH(QString, pannes);
    QFETCH(bool, interrompre);
    QFETCH(QStringList, attendues);
    QFETCH(int, actes);
    QFETCH(QString, bilan);
    QFETCH(QStringList, options);
#ifdef Q_OS_WIN
    if (interrompre)
        QSKIP("Ctrl+C arrive ici par un signal ; Windows ne l'envoie qu'à une console");
#endif
#ifdef BANC_CCAM_FAUTIF
    const QString fautif = QStringLiteral(BANC_CCAM_FAUTIF);
#else
    const QString fautif;
    if (controle)
        QSKIP("le contrôle fautif de Windows est le contrôle de test écrit à l'ancienne");
#endif
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), ::actes));
    const QString programme = controle ? fautif : verificateur;
    // A hang is told from a loaded machine's slow start-up by a few seconds.
    QStringList arguments{S("--balayage"), S("actes.txt"),     S("--date"),
                          S("20200101"),   S("--delai-appel"), interrompre ? S("60") : S("5")};
    if (!controle)
        arguments << S("--bibliotheque") << QStringLiteral(CHEMIN_TARVO_FAUTIF);
    arguments += options;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(S("BANC_CCAM_BASE"), QStringLiteral(BANC_CCAM_ECHANTILLON));
    const ExecutionBanc propre = lancerProgramme(
        programme, arguments + QStringList{S("--journal"), S("a.jsonl")}, m_dossier->path(), environnement);
    QCOMPARE(propre.statut, 0);
    if (!options.isEmpty()) {
        // The clean sweep of several workers against a lone worker's: the same journal.
        QStringList seul = arguments.mid(0, arguments.size() - options.size());
        QCOMPARE(lancerProgramme(programme, seul + QStringList{S("--journal"), S("seul.jsonl")},
                                 m_dossier->path(), environnement)
                     .statut,
                 0);
        const ExecutionBanc egaux =
            lancerBanc({S("--comparer"), S("seul.jsonl"), S("a.jsonl")}, m_dossier->path());
        QVERIFY2(egaux.statut == 0, qPrintable(egaux.sortie + egaux.erreurs));
    }
    environnement.insert(controle ? S("CTL_FAUTIF_PANNES") : S("TARVO_FAUTIF_PANNES"), pannes);
    const QString champAppel = controle ? S("membre") : S("point_entree");

    QProcess processus;
    processus.setProcessEnvironment(environnement);
    processus.setWorkingDirectory(m_dossier->path());
    QElapsedTimer chrono;
    chrono.start();
    // Its standard error in a file, as a nightly job keeps it: under Wine, a pipe stops passing what the
    // sweep writes once its worker has crashed (a file holds it all).
    processus.setStandardErrorFile(m_dossier->filePath(S("erreurs.txt")));
    processus.start(programme, arguments + QStringList{S("--journal"), S("b.jsonl")});
    QVERIFY(processus.waitForStarted());
#ifndef Q_OS_WIN
    if (interrompre) {
        // Once the hung call is announced.
        const QStringList bloque = pannes.split(u':');
        const auto annonce = [&] {
            const QList<QJsonObject> lignes = lireJournal(m_dossier->filePath(S("b.jsonl")));
            return std::any_of(lignes.begin(), lignes.end(), [&](const QJsonObject& e) {
                return e.value(S("genre")) == S("appel") && e.value(S("acte")) == bloque.at(0) &&
                       e.value(champAppel) == bloque.at(1);
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(annonce(), 20000);
        QTest::qWait(300);
        ::kill(pid_t(processus.processId()), SIGINT);
        chrono.restart();
    }
#endif
    QVERIFY(processus.waitForFinished(60000));
    if (interrompre)
        QVERIFY2(chrono.elapsed() < 5000, qPrintable(QString::number(chrono.elapsed())));
    QCOMPARE(processus.exitStatus(), QProcess::NormalExit);
    QCOMPARE(processus.exitCode(), 1);
    QFile fichierErreurs(m_dossier->filePath(S("erreurs.txt")));
    QVERIFY(fichierErreurs.open(QIODevice::ReadOnly));
    const QStringList erreurs =
        QString::fromUtf8(fichierErreurs.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!erreurs.isEmpty());
    QCOMPARE(erreurs.constLast().trimmed(), bilan);

    const QList<QJsonObject> journal = lireJournal(m_dossier->filePath(S("b.jsonl")));
    QStringList trouvees;
    QStringList actesPannes;
    for (const QJsonObject& e : journal) {
        const QString genre = e.value(S("genre")).toString();
        if (genre == S("plantage") || genre == S("blocage")) {
            const QString appel =
                controle ? e.value(S("bouton")).toString() + u'/' + e.value(champAppel).toString()
                         : e.value(champAppel).toString();
            trouvees << S("%1 %2 %3").arg(genre, e.value(S("acte")).toString(), appel);
            actesPannes << e.value(S("acte")).toString();
        }
    }
    for (qsizetype i = 0; i < attendues.size(); ++i)
        if (attendues.at(i).contains(u'%'))
            attendues[i] = attendues.at(i).arg(::actes.at(i));
    QCOMPARE(trouvees, attendues);
    const QJsonObject fin = journal.constLast();
    QCOMPARE(fin.value(S("genre")).toString(), S("fin_balayage"));
    QCOMPARE(fin.value(S("actes")).toInt(), actes);
    QCOMPARE(fin.value(S("interrompu")).toBool(), interrompre);
    QCOMPARE(fin.value(S("plantages")).toInt() + fin.value(S("blocages")).toInt(), attendues.size());
    // In act order, numbered as one journal, whatever the workers; the start-up once, however many.
    for (qsizetype i = 0; i < journal.size(); ++i)
        QCOMPARE(journal.at(i).value(S("n")).toInt(), i + 1);
    QCOMPARE(std::count_if(journal.begin(), journal.end(),
                           [](const QJsonObject& e) { return e.value(S("genre")) == S("balayage"); }),
             1);

    if (interrompre || attendues.size() > 2)
        return;
    // Against the clean sweep: exactly those acts, the crash and the hang where the answer stood.
    const ExecutionBanc comparaison = lancerBanc(
        {S("--comparer"), S("a.jsonl"), S("b.jsonl"), S("--rapport"), S("rapport.html")}, m_dossier->path());
    QCOMPARE(comparaison.statut, 1);
    QFile rapport(m_dossier->filePath(S("rapport.html")));
    QVERIFY(rapport.open(QIODevice::ReadOnly));
    QString erreur;
    QCOMPARE(sectionsRapport(rapport.readAll(), erreur), actesPannes);
    for (const QString& attendue : std::as_const(attendues)) {
        const QStringList champs = attendue.split(u' ');
        const QStringList appel = champs.at(2).split(u'/');
        const QRegularExpression titre(controle
                                           ? S("Commande \\d+ : %1 — %2\n(  .*\n)*  "
                                               "%3\t\\{.*\"genre\":\"controle\".*\t\\{.*\"genre\":\"%4\"")
                                                 .arg(appel.at(0), champs.at(1), appel.at(1), champs.at(0))
                                           : S("Appel \\d+ : %1 — %2\n  %1\t\\{.*\"genre\":\"%3\"")
                                                 .arg(champs.at(2), champs.at(1), champs.at(0)));
        QVERIFY2(titre.match(comparaison.sortie).hasMatch(), qPrintable(comparaison.sortie));
    }
}

// The parts of a list swept one by one and compared as one run against the whole list's sweep: the parts
// cover the list, are read in their order whatever the order given, and a crash in one is named; a set of
// parts that is not one whole run is refused.
void TestBalayage::tranches_data()
{
    QTest::addColumn<QStringList>("tranches"); // B's journals, in the order given; "" for the whole list
    QTest::addColumn<QString>("pannes");       // TARVO_FAUTIF_PANNES of B's sweeps
    QTest::addColumn<int>("statut");
    QTest::addColumn<QString>("attendu"); // in the comparison's output or error

    QTest::newRow("trois tranches dans le désordre : rien ne diffère")
        << QStringList{S("3/3"), S("1/3"), S("2/3")} << QString() << 0
        << S("Aucune différence sur 24 appel(s), 6 acte(s).");
    QTest::newRow("un plantage dans la deuxième tranche : nommé")
        << QStringList{S("2/3"), S("1/3"), S("3/3")} << S("JLNL001:GetPriseEnCharge_Tarvo:plantage") << 1
        << S("Appel 14 : GetPriseEnCharge_Tarvo — JLNL001\n  GetPriseEnCharge_Tarvo\t{");
    QTest::newRow("tranche manquante")
        << QStringList{S("1/3"), S("3/3")} << QString() << 2 << S("la tranche 2/3 manque");
    QTest::newRow("tranche en double")
        << QStringList{S("1/2"), S("2/2"), S("1/2")} << QString() << 2 << S("sont tous deux la tranche 1/2");
    QTest::newRow("découpages différents") << QStringList{S("1/2"), S("2/3"), S("3/3")} << QString() << 2
                                           << S("ne sont pas des tranches du même balayage");
    QTest::newRow("un journal entier parmi des tranches")
        << QStringList{S("1/2"), QString()} << QString() << 2 << S("n'est pas le journal d'une tranche");
}

void TestBalayage::tranches()
{
    QFETCH(QStringList, tranches);
    QFETCH(QString, pannes);
    QFETCH(int, statut);
    QFETCH(QString, attendu);
    QVERIFY(ecrireLignes(m_dossier->filePath(S("actes.txt")), ::actes));
    const QStringList arguments{S("--balayage"), S("actes.txt"),      S("--date"),
                                S("20200101"),   S("--bibliotheque"), QStringLiteral(CHEMIN_TARVO_FAUTIF)};
    const auto nomJournal = [](const QString& tranche) {
        return tranche.isEmpty() ? S("entier.jsonl")
                                 : S("t%1.jsonl").arg(QString(tranche).replace(u'/', u'-'));
    };
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    const ExecutionBanc reference =
        lancerProgramme(verificateur, arguments + QStringList{S("--journal"), S("a.jsonl")},
                        m_dossier->path(), environnement);
    QCOMPARE(reference.statut, 0);
    environnement.insert(S("TARVO_FAUTIF_PANNES"), pannes);
    QStringList journaux;
    QMap<int, QStringList> actesParTranche; // the acts each part swept, by its number
    for (const QString& tranche : std::as_const(tranches)) {
        journaux << nomJournal(tranche);
        if (QFile::exists(m_dossier->filePath(journaux.constLast())))
            continue;
        const QStringList option = tranche.isEmpty() ? QStringList{} : QStringList{S("--tranche"), tranche};
        const ExecutionBanc execution = lancerProgramme(
            verificateur, arguments + option + QStringList{S("--journal"), journaux.constLast()},
            m_dossier->path(), environnement);
        QVERIFY2(execution.statut == (pannes.isEmpty() ? 0 : execution.statut),
                 qPrintable(execution.erreurs));
        QStringList faits;
        for (const QJsonObject& e : lireJournal(m_dossier->filePath(journaux.constLast())))
            if (e.contains(S("acte")) && !faits.contains(e.value(S("acte")).toString()))
                faits << e.value(S("acte")).toString();
        if (!tranche.isEmpty())
            actesParTranche.insert(tranche.section(u'/', 0, 0).toInt(), faits);
    }
    // Every act of the list, each in one part only, in the list's order.
    if (statut != 2) {
        QStringList couverts;
        for (const QStringList& faits : std::as_const(actesParTranche))
            couverts << faits;
        QCOMPARE(couverts, ::actes);
    }

    const ExecutionBanc comparaison =
        lancerBanc({S("--comparer"), S("a.jsonl"), journaux.join(QDir::listSeparator())}, m_dossier->path());

    QCOMPARE(comparaison.statut, statut);
    QVERIFY2((statut == 2 ? comparaison.erreurs : comparaison.sortie).contains(attendu),
             qPrintable(comparaison.sortie + comparaison.erreurs));
    if (statut == 2)
        QVERIFY(comparaison.sortie.isEmpty());
}

QTEST_GUILESS_MAIN(TestBalayage)
#include "tst_balayage.moc"
