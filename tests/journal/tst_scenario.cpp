// Scenarios played by the tool itself, headless, as a tester runs them: every kind of step, malformed
// files, steps that cannot be played, boxes nobody answered, the selection dialog, replays.
#include "executionbanc.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

QString valeur(const QJsonValue& v)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

// The journal as short lines: what was sent and answered, which boxes came and how they were answered.
QStringList trace(const QList<QJsonObject>& journal)
{
    QStringList lignes;
    for (const QJsonObject& e : journal) {
        const QString genre = e.value(u"genre").toString();
        const QString membre = e.value(u"membre").toString();
        const QString acces = e.value(u"acces").toString();
        if (genre == u"controle" && acces == u"ecriture")
            lignes << membre + (e.value(u"par_reference").toBool() ? S(" <-& ") : S(" <- ")) +
                          valeur(e.value(u"valeur"));
        else if (genre == u"controle")
            lignes << membre + S(" -> ") + valeur(e.value(u"retour"));
        else if (genre == u"commande")
            lignes << S("commande ") + e.value(u"bouton").toString();
        else if (genre == u"message" || genre == u"saisie")
            lignes << genre + S(" => ") + e.value(u"reponse").toString();
        else if (genre == u"reponse_automatique")
            lignes << S("automatique ") + e.value(u"boite").toString();
        else if (genre == u"etape")
            lignes << S("etape %1").arg(e.value(u"ligne").toInt());
        else if (genre == u"fin_scenario")
            lignes << S("fin %1").arg(e.value(u"statut").toInt());
    }
    return lignes;
}

// Whether `attendus` appear in `lignes` in this order, other lines allowed in between.
bool dansLOrdre(const QStringList& lignes, const QStringList& attendus, QString& manquant)
{
    qsizetype depuis = 0;
    for (const QString& attendu : attendus) {
        depuis = lignes.indexOf(attendu, depuis);
        if (depuis < 0) {
            manquant = attendu;
            return false;
        }
        ++depuis;
    }
    return true;
}

} // namespace

class TestScenario : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void chaqueGenreDEtape();
    void fichierMalForme_data();
    void fichierMalForme();
    void etapeImpossible_data();
    void etapeImpossible();
    void boitesNonPrevues();
    void dialogueDeSelection_data();
    void dialogueDeSelection();
    void rejouerDonneLeMemeJournal();
    void sansJournalRienNEstEcrit();
    void journalSurLaSortieStandard();
    void ligneDeCommande_data();
    void ligneDeCommande();
    void aide_data();
    void aide();
    void scenariosLivres_data();
    void scenariosLivres();
    void journalDuCompagnon();

private:
    // Plays the lines as a scenario with a journal; the journal's events in `journal`.
    ExecutionBanc jouer(const QStringList& lignes, QList<QJsonObject>* journal = nullptr)
    {
        const QString scenario = m_dossier->filePath(S("scenario.jsonl"));
        const QString chemin = m_dossier->filePath(S("journal.jsonl"));
        if (!ecrireLignes(scenario, lignes))
            return {};
        QFile::remove(chemin);
        const ExecutionBanc execution =
            lancerBanc({S("--scenario"), scenario, S("--journal"), chemin}, m_dossier->path());
        if (journal)
            *journal = lireJournal(chemin);
        return execution;
    }

    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestScenario::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
}

void TestScenario::chaqueGenreDEtape()
{
    QList<QJsonObject> journal;
    const ExecutionBanc execution = jouer(
        {
            S(R"({"remplir": "txtCodeCCAM", "texte": " LHQK005"})"),
            S(R"({"cocher": "chkSRT", "valeur": 1})"),
            S(R"({"choisir": "CboGrille", "index": 2})"),
            S(R"({"date": "DTPicker1", "valeur": "20100101"})"),
            S(R"({"cliquer": "Command6"})"),
            S(""),
            S(R"({"cliquer": "Command2"})"),
            S(R"({"saisir": "HFFC004"})"),
            S(R"({"repondre": "OK"})"),
            S(R"({"repondre": "OK"})"),
            S(R"({"cliquer": "Command2"})"),
            S(R"({"repondre": "Annuler"})"),
            S(R"({"repondre": "OK"})"),
            S(R"({"repondre": "OK"})"),
            S(R"({"cocher": "chkSRT", "valeur": 2})"),
            S(R"({"cliquer": "cmdSelectActeCCAM"})"),
            S(R"({"selectionner": "JLNL001"})"),
        },
        &journal);
    QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
    const QStringList lignes = trace(journal);
    QString manquant;
    QVERIFY2(dansLOrdre(
                 lignes,
                 {S("etape 1"), S("etape 5"), S("commande Command6"), S("SRTSeulement <- 0"),
                  S("SRTSeulement <- 1"), S("GrilleTarifaire <- \"002\""), S("DateReference <- \"20100101\""),
                  S("CodeActe <- \" LHQK005\""), S("LireLibelle -> \"scano plusieurs segments rachis\""),
                  // The blank line 6 is skipped; the answers are numbered by their own lines.
                  S("etape 7"), S("commande Command2"), S("etape 8"), S("saisie => HFFC004"),
                  S("CodeActe <-& \"HFFC004\""), S("etape 9"), S("message => OK"), S("etape 10"),
                  S("message => OK"), S("etape 11"), S("commande Command2"), S("etape 12"), S("saisie => "),
                  S("CodeActe <-& \"\""), S("etape 15"), S("etape 16"), S("commande cmdSelectActeCCAM"),
                  S("SRTSeulement <- 0"), S("GrilleTarifaire <- \"002\""), S("etape 17"),
                  S("SelectionActe -> null"), S("CodeActe -> \"JLNL001\""), S("fin 0")},
                 manquant),
             qPrintable(manquant + S(" manque dans\n") + lignes.join(QLatin1Char('\n'))));
    // A greyed box sends the restriction once; every box was answered by the scenario.
    QCOMPARE(lignes.count(S("SRTSeulement <- 1")), 3);
    QVERIFY(!lignes.join(QLatin1Char('\n')).contains(S("automatique")));
}

void TestScenario::fichierMalForme_data()
{
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<int>("ligne");

    const QString cliquer = S(R"({"cliquer": "Command1"})");
    QTest::newRow("JSON invalide") << QStringList{cliquer, S(R"({"cliquer": })")} << 2;
    QTest::newRow("pas un objet") << QStringList{S("[1, 2]")} << 1;
    QTest::newRow("action inconnue") << QStringList{S(R"({"appuyer": "Command1"})")} << 1;
    QTest::newRow("deux actions") << QStringList{S(R"({"cliquer": "Command1", "saisir": "x"})")} << 1;
    QTest::newRow("complément manquant") << QStringList{cliquer, S(R"({"remplir": "txtCodeCCAM"})")} << 2;
    QTest::newRow("clé en trop") << QStringList{S(R"({"cliquer": "Command1", "texte": "x"})")} << 1;
    QTest::newRow("date qui n'existe pas")
        << QStringList{S(R"({"date": "DTPicker1", "valeur": "20100230"})")} << 1;
    QTest::newRow("date sans zéros") << QStringList{S(R"({"date": "DTPicker1", "valeur": "2010011"})")} << 1;
    QTest::newRow("case à 3") << QStringList{S(R"({"cocher": "chkSRT", "valeur": 3})")} << 1;
    QTest::newRow("index énorme") << QStringList{S(R"({"choisir": "CboGrille", "index": 1e122})")} << 1;
    QTest::newRow("index fractionnaire") << QStringList{S(R"({"choisir": "CboGrille", "index": 1.5})")} << 1;
    QTest::newRow("réponse inconnue") << QStringList{S(R"({"repondre": "Oui"})")} << 1;
    QTest::newRow("boîte native sans bouton")
        << QStringList{S(R"({"boite_native": "Base introuvable"})")} << 1;
    QTest::newRow("texte non textuel") << QStringList{S(R"({"remplir": "txtCodeCCAM", "texte": 5})")} << 1;
    QTest::newRow("après des lignes vides") << QStringList{S(""), cliquer, S("  "), S("fin")} << 4;
}

void TestScenario::fichierMalForme()
{
    QFETCH(QStringList, lignes);
    QFETCH(int, ligne);

    const ExecutionBanc execution = jouer(lignes);

    QCOMPARE(execution.statut, 2);
    QVERIFY2(execution.erreurs.contains(S("scenario.jsonl:%1 : ").arg(ligne)), qPrintable(execution.erreurs));
    // Nothing was played, so nothing was written either.
    QVERIFY(!QFile::exists(m_dossier->filePath(S("journal.jsonl"))));
}

void TestScenario::etapeImpossible_data()
{
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<int>("ligne");
    QTest::addColumn<QString>("raison");

    const QString suite = S(R"({"cliquer": "Command1"})");
    QTest::newRow("bouton absent") << QStringList{S(R"({"cliquer": "Command9"})"), suite} << 1
                                   << S("pas de bouton nommé(e) « Command9 »");
    QTest::newRow("contrôle d'un autre genre")
        << QStringList{S(R"({"remplir": "Command1", "texte": "x"})"), suite} << 1 << S("zone de texte");
    QTest::newRow("zone en lecture seule")
        << QStringList{S(R"({"remplir": "TxtPrix", "texte": "1"})"), suite} << 1 << S("lecture seule");
    QTest::newRow("entrée hors de la liste")
        << QStringList{S(R"({"choisir": "CboGrille", "index": 3})"), suite} << 1 << S("n'a que 3 entrée(s)");
    QTest::newRow("boîte attendue qui ne vient pas")
        << QStringList{suite, S(R"({"repondre": "OK"})"), suite} << 2 << S("aucune boîte");
    QTest::newRow("saisie attendue, un message est venu")
        << QStringList{S(R"({"remplir": "txtCodeCCAM", "texte": ""})"), S(R"({"cliquer": "Command4"})"),
                       S(R"({"saisir": "HFFC004"})"), suite}
        << 3 << S("aucune boîte");
    QTest::newRow("boîte native attendue qui ne vient pas")
        << QStringList{suite, S(R"({"boite_native": "Base introuvable", "bouton": "OK"})"), suite} << 2
        << S("aucune boîte native");
    QTest::newRow("dialogue attendu qui ne s'ouvre pas")
        << QStringList{suite, S(R"({"selectionner": "LHQK005"})")} << 2 << S("aucun dialogue");
    QTest::newRow("acte absent du dialogue")
        << QStringList{S(R"({"cliquer": "cmdSelectActeCCAM"})"), S(R"({"selectionner": "ZZZZ999"})"), suite}
        << 2 << S("l'acte ZZZZ999 n'est pas proposé");
    QTest::newRow("fenêtre fermée par Quitter")
        << QStringList{S(R"({"cliquer": "cmdQuitter"})"), suite} << 2 << S("la fenêtre est fermée");
}

void TestScenario::etapeImpossible()
{
    QFETCH(QStringList, lignes);
    QFETCH(int, ligne);
    QFETCH(QString, raison);

    QList<QJsonObject> journal;
    const ExecutionBanc execution = jouer(lignes, &journal);

    QCOMPARE(execution.statut, 1);
    QVERIFY2(execution.erreurs.contains(S("scenario.jsonl:%1 : ").arg(ligne)), qPrintable(execution.erreurs));
    QVERIFY2(execution.erreurs.contains(raison), qPrintable(execution.erreurs));
    // The run stops there: the journal ends with the failing line, later steps unplayed.
    QVERIFY(!journal.isEmpty());
    const QJsonObject fin = journal.last();
    QCOMPARE(fin.value(u"genre").toString(), S("fin_scenario"));
    QCOMPARE(fin.value(u"statut").toInt(), 1);
    QCOMPARE(fin.value(u"ligne").toInt(), ligne);
    for (const QJsonObject& e : journal)
        QVERIFY(e.value(u"ligne").toInt() <= ligne);
}

void TestScenario::boitesNonPrevues()
{
    QList<QJsonObject> journal;
    const ExecutionBanc execution =
        jouer({S(R"({"remplir": "txtCodeCCAM", "texte": "  "})"), S(R"({"cliquer": "Command4"})"),
               S(R"({"cliquer": "Command2"})"), S(R"({"cliquer": "cmdSelectActeCCAM"})")},
              &journal);
    QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
    QString manquant;
    const QStringList lignes = trace(journal);
    // Each box answered OK (the input box with its default text), the dialog cancelled, each one noted.
    QVERIFY2(dansLOrdre(lignes,
                        {S("commande Command4"), S("automatique message"), S("message => OK"),
                         S("commande Command2"), S("automatique saisie"), S("saisie => "),
                         S("CodeActe <-& \"\""), S("automatique message"), S("message => OK"),
                         S("automatique message"), S("message => OK"), S("commande cmdSelectActeCCAM"),
                         S("automatique dialogue"), S("CodeActe -> \"  \""), S("fin 0")},
                        manquant),
             qPrintable(manquant + S(" manque dans\n") + lignes.join(QLatin1Char('\n'))));
}

void TestScenario::dialogueDeSelection_data()
{
    QTest::addColumn<QString>("reponse");
    QTest::addColumn<QString>("codeLu");
    QTest::newRow("acte choisi") << S(R"("JLNL001")") << S("JLNL001");
    QTest::newRow("acte choisi, casse et espaces libres") << S(R"(" jlnl001 ")") << S("JLNL001");
    QTest::newRow("dialogue annulé: l'acte d'avant reste") << S("null") << S("LHQK005");
}

void TestScenario::dialogueDeSelection()
{
    QFETCH(QString, reponse);
    QFETCH(QString, codeLu);

    QList<QJsonObject> journal;
    const ExecutionBanc execution = jouer(
        {S(R"({"remplir": "txtCodeCCAM", "texte": "LHQK005"})"), S(R"({"cliquer": "cmdSelectActeCCAM"})"),
         S(R"({"selectionner": %1})").arg(reponse), S(R"({"cliquer": "Command6"})")},
        &journal);
    QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
    QString manquant;
    const QStringList lignes = trace(journal);
    QVERIFY2(dansLOrdre(lignes,
                        {S("CodeActe <- \"LHQK005\""), S("etape 3"), S("SelectionActe -> null"),
                         S("CodeActe -> \"%1\"").arg(codeLu), S("commande Command6"),
                         S("CodeActe <- \"%1\"").arg(codeLu)},
                        manquant),
             qPrintable(manquant + S(" manque dans\n") + lignes.join(QLatin1Char('\n'))));
    QVERIFY(!lignes.contains(S("automatique dialogue")));
}

void TestScenario::rejouerDonneLeMemeJournal()
{
    const QString scenario = QDir(dossierScenarios()).filePath(S("selection-acte.jsonl"));
    const QString a = m_dossier->filePath(S("a.jsonl"));
    const QString b = m_dossier->filePath(S("b.jsonl"));
    QCOMPARE(lancerBanc({S("--scenario"), scenario, S("--journal"), a}, m_dossier->path()).statut, 0);
    QCOMPARE(lancerBanc({S("--scenario"), scenario, S("--journal"), b}, m_dossier->path()).statut, 0);

    const ExecutionBanc comparaison = lancerBanc({S("--comparer"), a, b}, m_dossier->path());

    QCOMPARE(comparaison.statut, 0);
    QCOMPARE(comparaison.sortie, S("Aucune différence sur 5 commande(s).\n"));
}

void TestScenario::sansJournalRienNEstEcrit()
{
    QVERIFY(ecrireLignes(m_dossier->filePath(S("s.jsonl")),
                         {S(R"({"cliquer": "Command1"})"), S(R"({"cliquer": "Command3"})")}));

    const ExecutionBanc execution = lancerBanc({S("--scenario"), S("s.jsonl")}, m_dossier->path());

    QCOMPARE(execution.statut, 0);
    QCOMPARE(execution.sortie, QString());
    QCOMPARE(QDir(m_dossier->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{S("s.jsonl")});
}

void TestScenario::journalSurLaSortieStandard()
{
    QVERIFY(ecrireLignes(m_dossier->filePath(S("s.jsonl")), {S(R"({"cliquer": "Command1"})")}));

    const ExecutionBanc execution =
        lancerBanc({S("--scenario"), S("s.jsonl"), S("--journal"), S("-")}, m_dossier->path());

    QCOMPARE(execution.statut, 0);
    const QStringList lignes = execution.sortie.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lignes.size() > 5);
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const QJsonObject e = QJsonDocument::fromJson(lignes[i].toUtf8()).object();
        QCOMPARE(e.value(u"n").toInt(), int(i + 1));
    }
    QVERIFY(lignes.last().contains(S(R"("genre":"fin_scenario")")));
}

void TestScenario::ligneDeCommande_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("option inconnue") << QStringList{S("--scenarion"), S("x")} << S("scenarion");
    QTest::newRow("--comparer sans B") << QStringList{S("--comparer"), S("a.jsonl")} << S("deux journaux");
    QTest::newRow("argument de trop") << QStringList{S("--scenario"), S("s.jsonl"), S("autre")} << S("autre");
    QTest::newRow("scénario introuvable")
        << QStringList{S("--scenario"), S("absent.jsonl")} << S("absent.jsonl");
    QTest::newRow("journal impossible à écrire")
        << QStringList{S("--scenario"), S("s.jsonl"), S("--journal"), S(".")}
        << S("Impossible d'écrire le journal");
    QTest::newRow("--fenetre sans scénario") << QStringList{S("--fenetre")} << S("--fenetre");
    // Not a class identifier on Windows; elsewhere no COM control at all.
    QTest::newRow("--controle que ce système ne sait pas héberger")
        << QStringList{S("--scenario"), S("s.jsonl"), S("--controle"), S("{pas-un-clsid}")}
        << S("--controle");
}

void TestScenario::ligneDeCommande()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QVERIFY(ecrireLignes(m_dossier->filePath(S("s.jsonl")), {S(R"({"cliquer": "Command1"})")}));

    const ExecutionBanc execution = lancerBanc(arguments, m_dossier->path());

    QCOMPARE(execution.statut, 2);
    QVERIFY2(execution.erreurs.contains(message), qPrintable(execution.erreurs));
}

void TestScenario::aide_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("statut");
    QTest::newRow("--help") << S("--help") << 0;
#ifdef Q_OS_WIN
    QTest::newRow("/?, l'aide sous Windows") << S("/?") << 0;
#else
    QTest::newRow("/?, un argument comme un autre ailleurs") << S("/?") << 2;
#endif
}

// The help names the options that choose the control and show the window.
void TestScenario::aide()
{
    QFETCH(QString, option);
    QFETCH(int, statut);
    const ExecutionBanc execution = lancerBanc({option}, m_dossier->path());
    QCOMPARE(execution.statut, statut);
    if (statut == 0) {
        QVERIFY2(execution.sortie.contains(S("--controle")), qPrintable(execution.sortie));
        QVERIFY2(execution.sortie.contains(S("--fenetre")), qPrintable(execution.sortie));
    }
}

void TestScenario::scenariosLivres_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("options");
    const QDir dossier(dossierScenarios());
    for (const QString& nom : dossier.entryList({S("*.jsonl")}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(nom)) << dossier.filePath(nom) << QStringList();
    // Our component in process, whatever control the system has registered.
    QTest::newRow("requetes-actes.jsonl, --controle interne")
        << dossier.filePath(S("requetes-actes.jsonl")) << QStringList{S("--controle"), S("interne")};
}

void TestScenario::scenariosLivres()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, options);
    const QString chemin = m_dossier->filePath(S("journal.jsonl"));

    const ExecutionBanc execution = lancerBanc(
        QStringList{S("--scenario"), scenario, S("--journal"), chemin} + options, m_dossier->path());

    QVERIFY2(execution.statut == 0, qPrintable(execution.erreurs));
    const QList<QJsonObject> journal = lireJournal(chemin);
    QVERIFY(!journal.isEmpty());
    QCOMPARE(journal.last().value(u"statut").toInt(), 0);
    for (const QJsonObject& e : journal)
        QVERIFY2(e.value(u"aboutie").toBool(true), qPrintable(e.value(u"bouton").toString()));
}

void TestScenario::journalDuCompagnon()
{
    QProcess compagnon;
    compagnon.setWorkingDirectory(m_dossier->path());
    compagnon.start(QStringLiteral(BANC_TARVO_VERIFIER),
                    {S("--date"), S("20100101"), S("--journal"), S("j.jsonl")});
    QVERIFY(compagnon.waitForFinished(60000));
    QCOMPARE(compagnon.exitCode(), 0);

    QStringList points;
    QStringList chargements;
    int boites = 0;
    for (const QJsonObject& e : lireJournal(m_dossier->filePath(S("j.jsonl")))) {
        if (e.value(u"genre").toString() == u"bibliotheque" && e.contains(u"chargement"))
            chargements << e.value(u"chargement").toString();
        else if (e.value(u"genre").toString() == u"bibliotheque")
            points << e.value(u"point_entree").toString();
        boites += e.value(u"genre").toString() == u"message";
    }
    // The file that answered, once, in full: the one beside the companion, not one of the working folder.
    QCOMPARE(chargements.size(), 1);
    const QString attendu = QDir::toNativeSeparators(QFileInfo(QStringLiteral(BANC_TARVO_VERIFIER))
                                                         .absoluteDir()
                                                         .filePath(QStringLiteral(FICHIER_TARVOLIB)));
    QVERIFY2(chargements.constFirst().endsWith(attendu, Qt::CaseInsensitive),
             qPrintable(chargements.constFirst()));
    QCOMPARE(points, (QStringList{S("Connection_Tarvo"), S("ListeModificateurs_Tarvo"),
                                  S("GetPrixUnitaireActeSupplement_Tarvo"), S("GetPriseEnCharge_Tarvo"),
                                  S("ListeCodeIncompatibilitesActe_Tarvo"),
                                  S("ListeCodeAssociationActe_Tarvo"), S("DeConnection_Tarvo")}));
    QVERIFY(boites >= 3);
}

QTEST_GUILESS_MAIN(TestScenario)
#include "tst_scenario.moc"
