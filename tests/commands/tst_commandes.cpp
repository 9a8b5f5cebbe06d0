#include "commandes.h"
#include "controleenregistreur.h"
#include "echec.h"
#include "journaltest.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "tablemembres.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTest>
#include <memory>

namespace {

using Gestionnaire = void (*)(const ContexteCommande&);

Gestionnaire gestionnaire(const QString& bouton)
{
    static const QHash<QString, Gestionnaire> boutons{
        {QStringLiteral("cmdSelectActeCCAM"), &Commandes::selectionActe},
        {QStringLiteral("Command1"), &Commandes::testModificateurs},
        {QStringLiteral("Command2"), &Commandes::testPrix},
        {QStringLiteral("Command4"), &Commandes::testModificateursActe},
        {QStringLiteral("Command5"), &Commandes::codeRegroupementActe},
        {QStringLiteral("Command6"), &Commandes::rechercheLibelle},
        {QStringLiteral("Command7"), &Commandes::testListeActesCompatibles},
    };
    return boutons.value(bouton);
}

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

const QString Repertoire = S("C:\\ProgramData\\santesocial\\fsv\\1.40.12\\conf");
const QString Garde = S("message[ATTENTION|Critique] Pas de Code CCAM séléctionné !");

QStringList restriction(int coche)
{
    return coche == 1 ? QStringList{S("SRTSeulement <- 1")} : QStringList{};
}

QString ecrit(const char* membre, const QString& valeur)
{
    return QString::fromLatin1(membre) + S(" <- \"") + valeur + QLatin1Char('"');
}

// The window's controls, built as the window builds them, with the values of a typical session.
struct Fenetre
{
    QWidget frmInit;
    ControlesFenetre controles;
    QStringListModel* lignes = new QStringListModel(&frmInit);

    Fenetre()
    {
        auto& c = controles;
        c.frmInit = &frmInit;
        c.chkSRT = new QCheckBox(&frmInit);
        c.chkSRT->setTristate(true);
        c.CboGrille = new QComboBox(&frmInit);
        c.CboGrille->addItems({S("000"), S("001"), S("002")});
        c.CboGrille->setCurrentIndex(1);
        c.txtSpecialite = new QLineEdit(S("06"), &frmInit);
        c.txtCodeCCAM = new QLineEdit(S("AAFA001"), &frmInit);
        c.DTPicker1 = new QDateEdit(QDate(2024, 3, 7), &frmInit);
        c.TXTCheminSESAM = new QLineEdit(S("C:\\édité à la main"), &frmInit);
        c.TxtLibCourt = new QLineEdit(S("ancien"), &frmInit);
        c.TextLiblong = new QPlainTextEdit(S("ancien"), &frmInit);
        for (QComboBox** liste : {&c.cboMod, &c.cboModAct1, &c.cboModAct4, &c.cboModAct5}) {
            *liste = new QComboBox(&frmInit);
            (*liste)->addItem(S("ancien"));
        }
        c.TxtPrix = new QLineEdit(S("ancien"), &frmInit);
        c.TxtPrix->setReadOnly(true);
        c.TxtRegroupement = new QLineEdit(S("ancien"), &frmInit);
        c.TxtRegroupement->setReadOnly(true);
        c.txtLibCCAM = new QLineEdit(S("ancien"), &frmInit);
        c.txtLibLongCCAM = new QLineEdit(S("ancien"), &frmInit);
        c.List1 = new QListView(&frmInit);
        c.List1->setModel(lignes);
        lignes->setStringList({S("ancienne 1"), S("ancienne 2")});
    }

    // What each result control shows, by its name on the window.
    QMap<QString, QString> etat() const
    {
        const auto& c = controles;
        const auto entrees = [](const QComboBox* liste) {
            QStringList textes;
            for (int i = 0; i < liste->count(); ++i)
                textes.append(liste->itemText(i));
            return textes.join(u'/') + QLatin1Char('@') + QString::number(liste->currentIndex());
        };
        return {
            {S("txtCodeCCAM"), c.txtCodeCCAM->text()},         {S("TxtLibCourt"), c.TxtLibCourt->text()},
            {S("TextLiblong"), c.TextLiblong->toPlainText()},  {S("cboMod"), entrees(c.cboMod)},
            {S("cboModAct1"), entrees(c.cboModAct1)},          {S("cboModAct4"), entrees(c.cboModAct4)},
            {S("cboModAct5"), entrees(c.cboModAct5)},          {S("TxtPrix"), c.TxtPrix->text()},
            {S("TxtRegroupement"), c.TxtRegroupement->text()}, {S("txtLibCCAM"), c.txtLibCCAM->text()},
            {S("txtLibLongCCAM"), c.txtLibLongCCAM->text()},   {S("List1"), lignes->stringList().join(u'/')}};
    }
};

QStringList changes(const QMap<QString, QString>& avant, const QMap<QString, QString>& apres)
{
    QStringList noms;
    for (auto it = avant.cbegin(); it != avant.cend(); ++it)
        if (apres.value(it.key()) != it.value())
            noms.append(it.key());
    return noms;
}

} // namespace

class TestCommandes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void sequenceDesAcces_data();
    void sequenceDesAcces();
    void specialite_data();
    void specialite();
    void resultatsDeLaSelection_data();
    void resultatsDeLaSelection();
    void remplirListeModificateurs_data();
    void remplirListeModificateurs();
    void gardeDuCodeActe_data();
    void gardeDuCodeActe();
    void gardeNeRogneQueLesEspaces_data();
    void gardeNeRogneQueLesEspaces();
    void rechercheLibelleEcritLesDeuxReponses_data();
    void rechercheLibelleEcritLesDeuxReponses();
    void lignesDeList1_data();
    void lignesDeList1();
    void secondeExecutionRemplaceLesLignes();
    void testPrix_data();
    void testPrix();
    void repertoireRecalculeAChaqueClic_data();
    void repertoireRecalculeAChaqueClic();
    void echecDUnMembre_data();
    void echecDUnMembre();

private:
    void executer(const QString& bouton) { gestionnaire(bouton)(*m_contexte); }

    std::unique_ptr<Fenetre> m_fenetre;
    std::unique_ptr<JournalTest> m_journal;
    std::unique_ptr<ControleEnregistreur> m_controle;
    std::unique_ptr<ServiceMessagesScripte> m_messages;
    std::unique_ptr<SondeFixe> m_sonde;
    std::unique_ptr<ContexteCommande> m_contexte;
};

void TestCommandes::init()
{
    m_fenetre = std::make_unique<Fenetre>();
    m_journal = std::make_unique<JournalTest>();
    m_controle = std::make_unique<ControleEnregistreur>(m_journal.get());
    m_messages = std::make_unique<ServiceMessagesScripte>(m_journal.get());
    m_sonde = std::make_unique<SondeFixe>();
    m_contexte = std::make_unique<ContexteCommande>(
        ContexteCommande{m_fenetre->controles, *m_controle, *m_messages, *m_sonde});
    // Every query answers an empty text unless a test says otherwise.
    for (qint32 id = DispId::LireLibelle; id <= DispId::LireActesCompatibles; ++id)
        m_controle->reponses.insert(id, QString());
}

void TestCommandes::cleanup()
{
    m_contexte.reset();
    m_sonde.reset();
    m_messages.reset();
    m_controle.reset();
    m_journal.reset();
    m_fenetre.reset();
    QLocale::setDefault(QLocale::c());
}

void TestCommandes::sequenceDesAcces_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("coche");
    QTest::addColumn<QString>("codeActe");
    QTest::addColumn<QStringList>("attendu");

    const QString grille = ecrit("GrilleTarifaire", S("001"));
    const QString date = ecrit("DateReference", S("20240307"));
    const QString chemin = ecrit("CheminConfig", Repertoire);
    const char* nomsCoche[] = {"non cochee", "cochee", "grisee"};

    for (int coche : {0, 1, 2}) {
        const QString srt = S("SRTSeulement <- 0");
        const auto ligne = [&](const char* bouton) -> QTestData& {
            return QTest::addRow("%s %s", bouton, nomsCoche[coche]) << QString::fromLatin1(bouton) << coche;
        };
        ligne("cmdSelectActeCCAM") << S("AAFA001")
                                   << QStringList{srt} + restriction(coche) +
                                          QStringList{grille,
                                                      S("CodeSpecialite <-& 6"),
                                                      ecrit("CodeActe", S("AAFA001")),
                                                      date,
                                                      ecrit("CheminConfig", S("C:\\édité à la main")),
                                                      S("SelectionActe()"),
                                                      S("CodeActe ->"),
                                                      S("LibelleCourtActe ->"),
                                                      S("LibelleLongActe ->"),
                                                      S("Modificateurs ->"),
                                                      S("ModificateursActivite1 ->"),
                                                      S("ModificateursActivite4 ->"),
                                                      S("ModificateursActivite5 ->"),
                                                      S("PrixActe ->"),
                                                      S("CodeRegroupement ->")};
        ligne("Command1") << S("AAFA001")
                          << QStringList{srt} + restriction(coche) +
                                 QStringList{grille, date, chemin, S("LireModificateurs()")};
        // The grid goes between the two writes of the restriction here.
        ligne("Command2") << S("AAFA001")
                          << QStringList{srt, grille} + restriction(coche) +
                                 QStringList{
                                     S("saisie[Recherche Information CCAM] Code Acte CCAM => <annuler>"),
                                     S("CodeActe <-& \"\""),
                                     date,
                                     chemin,
                                     S("LireLibelle()"),
                                     S("message[Banc d'essai CCAM|Aucune] Libelle "),
                                     S("LirePrix()"),
                                     S("message[Banc d'essai CCAM|Aucune] Prix en centimes ")};
        for (const QString& code : {S("AAFA001"), S("  AAFA001 ")}) {
            const auto acte = [&](const char* bouton) -> QTestData& {
                return QTest::addRow("%s %s code «%s»", bouton, nomsCoche[coche], qPrintable(code))
                       << QString::fromLatin1(bouton) << coche << code;
            };
            const QStringList contexte =
                QStringList{srt} + restriction(coche) + QStringList{grille, date, chemin};
            const QString ecritCode = ecrit("CodeActe", code);
            acte("Command4") << contexte + QStringList{ecritCode, S("LireModificateursActe()")};
            acte("Command5") << contexte + QStringList{ecritCode, S("LireRegroupements()")};
            acte("Command6") << contexte + QStringList{ecritCode, S("LireLibelle()"), S("LireLibelleLong()")};
            // No grid for the compatible acts.
            acte("Command7") << QStringList{srt} + restriction(coche) +
                                    QStringList{date, chemin, ecritCode, S("LireActesCompatibles()")};
        }
    }
}

void TestCommandes::sequenceDesAcces()
{
    QFETCH(QString, bouton);
    QFETCH(int, coche);
    QFETCH(QString, codeActe);
    QFETCH(QStringList, attendu);

    // The tick values of the design: 0 unticked, 1 ticked, 2 greyed.
    const Qt::CheckState etats[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    m_fenetre->controles.chkSRT->setCheckState(etats[coche]);
    m_fenetre->controles.txtCodeCCAM->setText(codeActe);
    executer(bouton);
    QCOMPARE(m_journal->entrees, attendu);
}

void TestCommandes::specialite_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("ecriture"); // empty: the command stops before CodeSpecialite

    const QLocale fr(QLocale::French, QLocale::France);
    QTest::newRow("06") << S("06") << fr << S("CodeSpecialite <-& 6");
    QTest::newRow("vide") << S("") << fr << S("CodeSpecialite <-& 0");
    QTest::newRow("lettres") << S("MG") << fr << S("CodeSpecialite <-& 0");
    QTest::newRow("6,5 en francais") << S("6,5") << fr << S("CodeSpecialite <-& 6");
    QTest::newRow("6.5 en francais") << S("6.5") << fr << S("CodeSpecialite <-& 6");
    QTest::newRow("6,5 en C") << S("6,5") << QLocale::c() << S("CodeSpecialite <-& 0");
    QTest::newRow("6.5 en C") << S("6.5") << QLocale::c() << S("CodeSpecialite <-& 6");
    QTest::newRow("7,5 au pair") << S("7,5") << fr << S("CodeSpecialite <-& 8");
    QTest::newRow("au-dela de 32 bits") << S("4294967296") << fr << QString();
}

void TestCommandes::specialite()
{
    QFETCH(QString, texte);
    QFETCH(QLocale, locale);
    QFETCH(QString, ecriture);

    QLocale::setDefault(locale);
    m_fenetre->controles.txtSpecialite->setText(texte);
    if (ecriture.isEmpty()) {
        try {
            executer(S("cmdSelectActeCCAM"));
            QFAIL("la conversion n'a pas échoué");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int(Echec::Debordement));
        }
        // Nothing after the grid: not CodeSpecialite, not the act code, not the dialog.
        QCOMPARE(m_journal->entrees,
                 (QStringList{S("SRTSeulement <- 0"), ecrit("GrilleTarifaire", S("001"))}));
        return;
    }
    executer(S("cmdSelectActeCCAM"));
    QCOMPARE(m_journal->entrees.value(2), ecriture);
}

void TestCommandes::resultatsDeLaSelection_data()
{
    QTest::addColumn<QString>("codeActe");
    QTest::addColumn<QString>("modificateurs");
    QTest::addColumn<QString>("valeurs");
    QTest::addColumn<QString>("entrees");

    QTest::newRow("acte choisi") << S("AAFA001") << S("7|Acte de chirurgie|J|Anesthésie")
                                 << S(" court | long ") << S("7 - Acte de chirurgie/J - Anesthésie@0");
    QTest::newRow("code vide, dialogue ouvert, reponses vides") << S("") << S("") << S("") << S("@-1");
}

void TestCommandes::resultatsDeLaSelection()
{
    QFETCH(QString, codeActe);
    QFETCH(QString, modificateurs);
    QFETCH(QString, valeurs);
    QFETCH(QString, entrees);

    m_fenetre->controles.txtCodeCCAM->setText(codeActe);
    for (qint32 id = DispId::CodeActe; id <= DispId::CodeRegroupement; ++id)
        m_controle->reponses.insert(id, id == DispId::DateReference ? QVariant() : QVariant(valeurs));
    for (qint32 id : {DispId::Modificateurs, DispId::ModificateursActivite1, DispId::ModificateursActivite4,
                      DispId::ModificateursActivite5})
        m_controle->reponses.insert(id, modificateurs);
    executer(S("cmdSelectActeCCAM"));

    QVERIFY(m_journal->entrees.contains(S("SelectionActe()")));
    QVERIFY(m_journal->entrees.contains(ecrit("CodeActe", codeActe)));
    const auto etat = m_fenetre->etat();
    // Nothing read is trimmed, and an empty value empties its box.
    for (const char* boite : {"txtCodeCCAM", "TxtLibCourt", "TextLiblong", "TxtPrix", "TxtRegroupement"})
        QCOMPARE(etat.value(QString::fromLatin1(boite)), valeurs);
    for (const char* liste : {"cboMod", "cboModAct1", "cboModAct4", "cboModAct5"})
        QCOMPARE(etat.value(QString::fromLatin1(liste)), entrees);
}

void TestCommandes::remplirListeModificateurs_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QStringList>("entrees");

    QTest::newRow("quatre champs: deux entrees, la premiere choisie")
        << S("p|q|r|s") << QStringList{S("p - q"), S("r - s")};
    QTest::newRow("separateur en tete") << S("|q") << QStringList{S(" - q")};
    QTest::newRow("vide: liste videe, rien de choisi") << S("") << QStringList{};
    QTest::newRow("nombre impair") << S("p|q|r") << QStringList{S("p - q")};
    QTest::newRow("un champ seul: aucune entree") << S("p") << QStringList{};
}

void TestCommandes::remplirListeModificateurs()
{
    QFETCH(QString, liste);
    QFETCH(QStringList, entrees);

    QComboBox cboMod;
    cboMod.addItems({S("ancien 1"), S("ancien 2")});
    cboMod.setCurrentIndex(1);
    Commandes::RemplirListeModificateurs(&cboMod, liste);
    QStringList textes;
    for (int i = 0; i < cboMod.count(); ++i)
        textes.append(cboMod.itemText(i));
    QCOMPARE(textes, entrees);
    QCOMPARE(cboMod.currentIndex(), entrees.isEmpty() ? -1 : 0);
}

void TestCommandes::gardeDuCodeActe_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("codeActe");

    for (const char* bouton : {"Command4", "Command5", "Command6", "Command7"}) {
        QTest::addRow("%s code vide", bouton) << QString::fromLatin1(bouton) << S("");
        QTest::addRow("%s espaces seuls", bouton) << QString::fromLatin1(bouton) << S("   ");
    }
}

void TestCommandes::gardeDuCodeActe()
{
    QFETCH(QString, bouton);
    QFETCH(QString, codeActe);

    m_fenetre->controles.txtCodeCCAM->setText(codeActe);
    const auto avant = m_fenetre->etat();
    executer(bouton);
    QCOMPARE(m_journal->entrees, QStringList{Garde});
    QCOMPARE(m_fenetre->etat(), avant);
}

void TestCommandes::gardeNeRogneQueLesEspaces_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("codeActe");

    for (const char* bouton : {"Command4", "Command5", "Command6", "Command7"}) {
        QTest::addRow("%s tabulations seules", bouton) << QString::fromLatin1(bouton) << S("\t\t");
        QTest::addRow("%s espaces insecables seuls", bouton)
            << QString::fromLatin1(bouton) << S("\u00A0\u00A0");
        QTest::addRow("%s espaces et tabulation", bouton) << QString::fromLatin1(bouton) << S(" \t ");
    }
}

// Only the space character is trimmed: a code of other blanks passes the guard and goes to the control as it
// stands.
void TestCommandes::gardeNeRogneQueLesEspaces()
{
    QFETCH(QString, bouton);
    QFETCH(QString, codeActe);

    m_fenetre->controles.txtCodeCCAM->setText(codeActe);
    executer(bouton);
    QVERIFY(!m_journal->entrees.contains(Garde));
    QVERIFY2(m_journal->entrees.contains(ecrit("CodeActe", codeActe)),
             qPrintable(m_journal->entrees.join(u'\n')));
}

void TestCommandes::rechercheLibelleEcritLesDeuxReponses_data()
{
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<QString>("libelleLong");

    QTest::newRow("deux reponses vides: les deux zones videes") << S("") << S("");
    QTest::newRow("libelle seul") << S("Acte") << S("");
    QTest::newRow("libelle long seul") << S("") << S("Acte long");
    QTest::newRow("espaces gardes") << S(" Acte ") << S(" Acte long ");
}

void TestCommandes::rechercheLibelleEcritLesDeuxReponses()
{
    QFETCH(QString, libelle);
    QFETCH(QString, libelleLong);

    m_fenetre->controles.txtCodeCCAM->setText(S("AAFA001"));
    m_controle->reponses.insert(DispId::LireLibelle, libelle);
    m_controle->reponses.insert(DispId::LireLibelleLong, libelleLong);
    executer(S("Command6"));
    // Both boxes held "ancien": each now holds its answer exactly, an empty one included.
    QCOMPARE(m_fenetre->controles.txtLibCCAM->text(), libelle);
    QCOMPARE(m_fenetre->controles.txtLibLongCCAM->text(), libelleLong);
}

void TestCommandes::lignesDeList1_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("reponse");
    QTest::addColumn<QStringList>("lignes");

    QTest::newRow("Command1 vide") << S("Command1") << S("") << QStringList{};
    QTest::newRow("Command1 huit champs, 3e et 4e non rognes")
        << S("Command1") << S("A | x |1 |2|B|y| 3 | 4 ")
        << QStringList{S("A\tx\t1 \t2"), S("B\ty\t 3 \t 4 ")};
    QTest::newRow("Command1 enregistrement incomplet")
        << S("Command1") << S("A|x|1|2|B") << QStringList{S("A\tx\t1\t2")};
    QTest::newRow("Command4 vide") << S("Command4") << S("") << QStringList{};
    QTest::newRow("Command4 deux champs")
        << S("Command4") << S("7|Chirurgie") << QStringList{S("7\tChirurgie")};
    QTest::newRow("Command5 quatre champs")
        << S("Command5") << S("ADC|Actes de chirurgie|ATM |Actes techniques")
        << QStringList{S("ADC\tActes de chirurgie"), S("ATM\tActes techniques")};
    QTest::newRow("Command7 six champs")
        << S("Command7") << S("A|a|B|b|C|c") << QStringList{S("A\ta"), S("B\tb"), S("C\tc")};
    QTest::newRow("Command7 espaces rognes, tabulations gardees")
        << S("Command7") << S("AAFA001|Label A|AAFA002 | Label B|\tC | ")
        << QStringList{S("AAFA001\tLabel A"), S("AAFA002\tLabel B"), S("\tC\t")};
    QTest::newRow("Command4 champ vide entre deux separateurs")
        << S("Command4") << S("a||b|c") << QStringList{S("a\t"), S("b\tc")};
    QTest::newRow("Command5 enregistrement incomplet")
        << S("Command5") << S("a|b|c") << QStringList{S("a\tb")};
}

void TestCommandes::lignesDeList1()
{
    QFETCH(QString, bouton);
    QFETCH(QString, reponse);
    QFETCH(QStringList, lignes);

    for (qint32 id : {DispId::LireModificateurs, DispId::LireModificateursActe, DispId::LireRegroupements,
                      DispId::LireActesCompatibles})
        m_controle->reponses.insert(id, reponse);
    executer(bouton);
    QCOMPARE(m_fenetre->lignes->stringList(), lignes);
}

void TestCommandes::secondeExecutionRemplaceLesLignes()
{
    m_controle->reponses.insert(DispId::LireModificateursActe, S("A|a|B|b"));
    m_controle->reponses.insert(DispId::LireRegroupements, S("R|r"));
    executer(S("Command4"));
    executer(S("Command5"));
    QCOMPARE(m_fenetre->lignes->stringList(), QStringList{S("R\tr")});
    m_controle->reponses.insert(DispId::LireActesCompatibles, S("C|c"));
    executer(S("Command7"));
    executer(S("Command7"));
    QCOMPARE(m_fenetre->lignes->stringList(), QStringList{S("C\tc")});
}

void TestCommandes::testPrix_data()
{
    QTest::addColumn<std::optional<QString>>("saisie");
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<QString>("prix");
    QTest::addColumn<QString>("envoye");

    QTest::newRow("code saisi avec espaces")
        << std::optional(S(" AAFA001 ")) << S(" Acte ") << S("12345") << S(" AAFA001 ");
    QTest::newRow("annulation: code vide, deux boites")
        << std::optional<QString>() << S("") << S("") << S("");
    QTest::newRow("prix tel quel") << std::optional(S("X")) << S("L") << S("12,50 €|") << S("X");
}

void TestCommandes::testPrix()
{
    QFETCH(std::optional<QString>, saisie);
    QFETCH(QString, libelle);
    QFETCH(QString, prix);
    QFETCH(QString, envoye);

    m_messages->setProchaineSaisie(saisie);
    m_controle->reponses.insert(DispId::LireLibelle, libelle);
    m_controle->reponses.insert(DispId::LirePrix, prix);
    const auto avant = m_fenetre->etat();
    executer(S("Command2"));

    const QStringList fin =
        m_journal->entrees.mid(m_journal->entrees.indexOf(S("CodeActe <-& \"") + envoye + S("\"")));
    QCOMPARE(fin.size(), 7);
    // The price is asked only once the label box has been closed.
    QCOMPARE(fin.mid(3),
             (QStringList{S("LireLibelle()"), S("message[Banc d'essai CCAM|Aucune] Libelle ") + libelle,
                          S("LirePrix()"), S("message[Banc d'essai CCAM|Aucune] Prix en centimes ") + prix}));
    QCOMPARE(m_messages->saisies.size(), 1);
    QCOMPARE(m_fenetre->etat(), avant);
}

void TestCommandes::repertoireRecalculeAChaqueClic_data()
{
    QTest::addColumn<QString>("bouton");
    for (const char* bouton : {"Command1", "Command2", "Command4", "Command5", "Command6", "Command7"})
        QTest::newRow(bouton) << QString::fromLatin1(bouton);
}

void TestCommandes::repertoireRecalculeAChaqueClic()
{
    QFETCH(QString, bouton);

    m_sonde->profil = QByteArrayLiteral("D:\\Un");
    executer(bouton);
    m_sonde->profil = QByteArrayLiteral("E:\\Deux");
    executer(bouton);
    const QStringList chemins = m_journal->entrees.filter(S("CheminConfig"));
    QCOMPARE(chemins, (QStringList{ecrit("CheminConfig", S("D:\\Un\\santesocial\\fsv\\1.40.12\\conf")),
                                   ecrit("CheminConfig", S("E:\\Deux\\santesocial\\fsv\\1.40.12\\conf"))}));
}

void TestCommandes::echecDUnMembre_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("membre");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("selection: dialogue")
        << S("cmdSelectActeCCAM") << int(DispId::SelectionActe) << QStringList{};
    QTest::newRow("selection: libelle long") << S("cmdSelectActeCCAM") << int(DispId::LibelleLongActe)
                                             << QStringList{S("TxtLibCourt"), S("txtCodeCCAM")};
    QTest::newRow("selection: modificateurs activite 4")
        << S("cmdSelectActeCCAM") << int(DispId::ModificateursActivite4)
        << QStringList{S("TextLiblong"), S("TxtLibCourt"), S("cboMod"), S("cboModAct1"), S("txtCodeCCAM")};
    QTest::newRow("Command1: requete") << S("Command1") << int(DispId::LireModificateurs) << QStringList{};
    QTest::newRow("Command2: prix") << S("Command2") << int(DispId::LirePrix) << QStringList{};
    QTest::newRow("Command4: chemin") << S("Command4") << int(DispId::CheminConfig) << QStringList{};
    QTest::newRow("Command4: requete")
        << S("Command4") << int(DispId::LireModificateursActe) << QStringList{};
    QTest::newRow("Command5: requete") << S("Command5") << int(DispId::LireRegroupements) << QStringList{};
    QTest::newRow("Command6: libelle long")
        << S("Command6") << int(DispId::LireLibelleLong) << QStringList{S("txtLibCCAM")};
    QTest::newRow("Command7: code acte") << S("Command7") << int(DispId::CodeActe) << QStringList{};
}

void TestCommandes::echecDUnMembre()
{
    QFETCH(QString, bouton);
    QFETCH(int, membre);
    QFETCH(QStringList, changes);

    for (qint32 id = DispId::CodeActe; id <= DispId::CodeRegroupement; ++id)
        m_controle->reponses.insert(id, S("NOUV|x"));
    for (qint32 id = DispId::LireLibelle; id <= DispId::LireActesCompatibles; ++id)
        m_controle->reponses.insert(id, S("NOUV|x"));
    m_controle->echecs.insert(membre);
    const auto avant = m_fenetre->etat();
    try {
        executer(bouton);
        QFAIL("le membre n'a pas échoué");
    } catch (const Echec& echec) {
        QCOMPARE(echec.numero(), int(Echec::EchecComposant));
    }
    // The failing member is the last access: no later step ran, earlier results stay.
    QVERIFY(m_journal->entrees.last().startsWith(nomMembre(membre)));
    QCOMPARE(::changes(avant, m_fenetre->etat()), changes);
    if (membre == DispId::LirePrix)
        QCOMPARE(m_messages->messages.size(), 1);

    // The window stays usable: the same button works once the control answers again.
    m_controle->echecs.clear();
    executer(bouton);
}

QTEST_MAIN(TestCommandes)
#include "tst_commandes.moc"
