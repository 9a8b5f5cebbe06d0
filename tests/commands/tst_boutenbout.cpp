// Each button's handler against our act-selection component over the built-in sample database:
// the answers the operator sees for sample acts.
#include "commandes.h"
#include "controledispatch.h"
#include "dialoguemodal.h"
#include "fabriquecontrole.h"
#include "nomsselectionacte.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "tablemembres.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringListModel>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Types `frappe` into the selection dialog and chooses with Enter, or cancels with Esc when `frappe` is null.
std::function<void(QDialog*)> frapperDansLeDialogue(const QString& frappe)
{
    return [frappe](QDialog* dialogue) {
        auto* champ = dialogue->findChild<QLineEdit*>(NomsSelectionActe::txtRecherche);
        if (champ && !frappe.isNull()) {
            taper(champ, frappe);
            QTest::keyClick(champ, Qt::Key_Return);
        } else if (champ) {
            QTest::keyClick(champ, Qt::Key_Escape);
        }
    };
}

} // namespace

class TestBoutEnBout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void selectionRemplitLaFenetre();
    void selectionAnnuleeSansCode();
    void testPrix();
    void rechercheLibelle();
    void listesDansList1_data();
    void listesDansList1();

private:
    void executer(void (*gestionnaire)(const ContexteCommande&)) { gestionnaire(*m_contexte); }

    std::unique_ptr<QWidget> m_fenetre;
    ControlesFenetre m_controles;
    std::unique_ptr<ControleDispatch> m_ctlTarvo1;
    std::unique_ptr<ServiceMessagesScripte> m_messages;
    SondeFixe m_sonde;
    std::unique_ptr<ContexteCommande> m_contexte;
};

void TestBoutEnBout::initTestCase()
{
    if (!QFile::exists(QStringLiteral(BANC_CCAM_ECHANTILLON)))
        QSKIP("base d'exemple absente");
    qputenv("BANC_CCAM_BASE", BANC_CCAM_ECHANTILLON);
}

void TestBoutEnBout::init()
{
    m_fenetre = std::make_unique<QWidget>();
    QWidget* f = m_fenetre.get();
    auto& c = m_controles;
    c = ControlesFenetre{};
    c.frmInit = f;
    c.chkSRT = new QCheckBox(f);
    c.CboGrille = new QComboBox(f);
    c.CboGrille->addItems({u"000"_s, u"001"_s, u"002"_s});
    c.CboGrille->setCurrentIndex(1);
    // No specialty: the sample's acts are all offered.
    c.txtSpecialite = new QLineEdit(f);
    c.txtCodeCCAM = new QLineEdit(f);
    c.DTPicker1 = new QDateEdit(QDate(2025, 6, 1), f);
    c.TXTCheminSESAM = new QLineEdit(u"C:\\ProgramData\\santesocial\\fsv\\1.40.12\\conf"_s, f);
    c.TxtLibCourt = new QLineEdit(f);
    c.TextLiblong = new QPlainTextEdit(f);
    c.cboMod = new QComboBox(f);
    c.cboModAct1 = new QComboBox(f);
    c.cboModAct4 = new QComboBox(f);
    c.cboModAct5 = new QComboBox(f);
    c.TxtPrix = new QLineEdit(f);
    c.TxtRegroupement = new QLineEdit(f);
    c.txtLibCCAM = new QLineEdit(f);
    c.txtLibLongCCAM = new QLineEdit(f);
    c.List1 = new QListView(f);
    c.List1->setModel(new QStringListModel(c.List1));
    m_fenetre->show();
    // The platform's own control: ours in process, or on Windows LecTarvo.ocx through COM.
    m_ctlTarvo1 = fabriqueControlePlateforme()(f);
    m_messages = std::make_unique<ServiceMessagesScripte>();
    m_contexte = std::make_unique<ContexteCommande>(ContexteCommande{c, *m_ctlTarvo1, *m_messages, m_sonde});
}

void TestBoutEnBout::cleanup()
{
    m_contexte.reset();
    m_ctlTarvo1.reset();
    m_messages.reset();
    m_fenetre.reset();
}

void TestBoutEnBout::selectionRemplitLaFenetre()
{
    bool vu = false;
    pendantLeDialogue(frapperDansLeDialogue(u"curiethérapie bas"_s), &vu);
    executer(&Commandes::selectionActe);
    QVERIFY(vu);

    QCOMPARE(m_controles.txtCodeCCAM->text(), u"JLNL001"_s);
    QCOMPARE(m_controles.TxtLibCourt->text(), u"curiethérapie vaginale bas débit"_s);
    QVERIFY(!m_controles.TextLiblong->toPlainText().isEmpty());
    QCOMPARE(m_controles.TxtPrix->text(), u"36050"_s);
    QCOMPARE(m_controles.TxtRegroupement->text(), u"ATM"_s);
    QCOMPARE(m_controles.cboModAct1->count(), 5);
    QCOMPARE(m_controles.cboModAct1->currentText(), u"F - Acte en urgence un dimanche ou un jour férié"_s);
    QVERIFY(m_controles.cboMod->count() >= m_controles.cboModAct1->count());
    QCOMPARE(m_controles.cboModAct5->count(), 0);

    // The next click opens the dialog on the act chosen, sent as CodeActe; cancelling keeps it.
    pendantLeDialogue(frapperDansLeDialogue(QString()), &vu);
    executer(&Commandes::selectionActe);
    QCOMPARE(m_controles.txtCodeCCAM->text(), u"JLNL001"_s);
    QCOMPARE(m_controles.TxtPrix->text(), u"36050"_s);
}

void TestBoutEnBout::selectionAnnuleeSansCode()
{
    m_controles.TxtLibCourt->setText(u"ancien"_s);
    bool vu = false;
    pendantLeDialogue(frapperDansLeDialogue(QString()), &vu);
    executer(&Commandes::selectionActe);
    QVERIFY(vu);
    QCOMPARE(m_controles.txtCodeCCAM->text(), QString());
    QCOMPARE(m_controles.TxtLibCourt->text(), QString());
    QCOMPARE(m_controles.cboMod->count(), 0);
}

void TestBoutEnBout::testPrix()
{
    m_messages->setProchaineSaisie(u"JLNL001"_s);
    executer(&Commandes::testPrix);
    QCOMPARE(m_messages->messages.size(), 2);
    QCOMPARE(m_messages->messages[0].texte, u"Libelle curiethérapie vaginale bas débit"_s);
    QCOMPARE(m_messages->messages[1].texte, u"Prix en centimes 36050"_s);
}

void TestBoutEnBout::rechercheLibelle()
{
    m_controles.txtCodeCCAM->setText(u" JLNL001 "_s);
    executer(&Commandes::rechercheLibelle);
    QCOMPARE(m_controles.txtLibCCAM->text(), u"curiethérapie vaginale bas débit"_s);
    QVERIFY(m_controles.txtLibLongCCAM->text().length() > m_controles.txtLibCCAM->text().length());
}

void TestBoutEnBout::listesDansList1_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("codeActe");
    QTest::addColumn<QString>("motif"); // every line matches it
    QTest::addColumn<QString>("ligne"); // one line that must be there

    QTest::newRow("Command1 modificateurs")
        << u"Command1"_s << u"JLNL001"_s << u"^[^\t]+\t[^\t]*\t[^\t]*\t$"_s
        << u"F\tActe en urgence un dimanche ou un jour férié\t1,4\t"_s;
    QTest::newRow("Command4 modificateurs de l'acte")
        << u"Command4"_s << u"JLNL001"_s << u"^[A-Z0-9]\t[^\t]+$"_s
        << u"F\tActe en urgence un dimanche ou un jour férié"_s;
    QTest::newRow("Command5 regroupements")
        << u"Command5"_s << u"JLNL001"_s << u"^[A-Z]{3}\t[^\t]+$"_s << QString();
    QTest::newRow("Command7 actes compatibles")
        << u"Command7"_s << u"LHQK005"_s << u"^[A-Z]{4}[0-9]{3}\t[^\t]*$"_s << QString();
}

void TestBoutEnBout::listesDansList1()
{
    QFETCH(QString, bouton);
    QFETCH(QString, codeActe);
    QFETCH(QString, motif);
    QFETCH(QString, ligne);

    const QHash<QString, void (*)(const ContexteCommande&)> boutons{
        {u"Command1"_s, &Commandes::testModificateurs},
        {u"Command4"_s, &Commandes::testModificateursActe},
        {u"Command5"_s, &Commandes::codeRegroupementActe},
        {u"Command7"_s, &Commandes::testListeActesCompatibles},
    };
    m_controles.txtCodeCCAM->setText(codeActe);
    // Command1 sends no act code: the control describes the act last written.
    m_ctlTarvo1->ecrire(DispId::CodeActe, codeActe);
    executer(boutons.value(bouton));

    const QStringList lignes = static_cast<QStringListModel*>(m_controles.List1->model())->stringList();
    QVERIFY(!lignes.isEmpty());
    const QRegularExpression forme(motif);
    for (const QString& l : lignes)
        QVERIFY2(forme.match(l).hasMatch(), qPrintable(l));
    if (!ligne.isEmpty())
        QVERIFY2(lignes.contains(ligne), qPrintable(lignes.join(u'\n')));
}

QTEST_MAIN(TestBoutEnBout)
#include "tst_boutenbout.moc"
