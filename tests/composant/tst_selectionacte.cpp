// SelectionActe driven headless: the dialog is found as the active modal widget and worked with
// the keyboard and mouse as an operator would, then the control's result properties are read.
#include "actesmasques.h"
#include "controledispatch.h"
#include "dialoguemodal.h"
#include "dialogueselectionacte.h"
#include "echec.h"
#include "fabriquectltarvo.h"
#include "magasinccam.h"
#include "modelechapitres.h"
#include "modeleresultats.h"
#include "nomsselectionacte.h"
#include "tablemembres.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

using ActionDialogue = std::function<void(QDialog*)>;

template<typename T> T* enfant(QDialog* dialogue, QLatin1StringView nom)
{
    return dialogue->findChild<T*>(nom);
}

QStringList codesListes(QListView* liste)
{
    QStringList codes;
    for (int i = 0; i < liste->model()->rowCount(); ++i)
        codes << liste->model()->index(i, 0).data(ModeleResultats::RoleCode).toString();
    return codes;
}

QString codeCourant(QListView* liste)
{
    return liste->currentIndex().data(ModeleResultats::RoleCode).toString();
}

} // namespace

class TestSelectionActe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rechercheEtChoix_data();
    void rechercheEtChoix();
    void annulation_data();
    void annulation();
    void ouvertureSurCodeActe_data();
    void ouvertureSurCodeActe();
    void doubleClicChoisit();
    void entreeSansActeNeFermePas();
    void contexteRestreintLaRecherche_data();
    void contexteRestreintLaRecherche();
    void detailsDansLeContexte();
    void choixDansLesChapitres();
    void actesMasquesDits_data();
    void actesMasquesDits();
    void chapitresEtRechercheDAccord_data();
    void chapitresEtRechercheDAccord();
    void partageImmobilePendantLaFrappe();

private:
    // Calls SelectionActe with the action run on its dialog; false when no dialog showed.
    bool selectionner(ActionDialogue action);

    QWidget* m_fenetre = nullptr;
    std::unique_ptr<ControleDispatch> m_ctl;
};

void TestSelectionActe::initTestCase()
{
    if (!QFile::exists(QStringLiteral(BANC_CCAM_ECHANTILLON)))
        QSKIP("sample database not built");
    qputenv("BANC_CCAM_BASE", BANC_CCAM_ECHANTILLON);
}

void TestSelectionActe::init()
{
    m_fenetre = new QWidget;
    m_fenetre->show();
    m_ctl = creerCtlTarvo(m_fenetre);
    m_ctl->ecrire(DispId::SRTSeulement, qint32(0));
    m_ctl->ecrire(DispId::GrilleTarifaire, QStringLiteral("001"));
    m_ctl->ecrire(DispId::CodeSpecialite, qint32(0));
    m_ctl->ecrire(DispId::CodeActe, QString());
    m_ctl->ecrire(DispId::DateReference, QStringLiteral("20250601"));
    m_ctl->ecrire(DispId::CheminConfig, QStringLiteral("/tmp/"));
}

void TestSelectionActe::cleanup()
{
    m_ctl.reset();
    delete m_fenetre;
    m_fenetre = nullptr;
}

bool TestSelectionActe::selectionner(ActionDialogue action)
{
    bool vu = false;
    pendantLeDialogue(std::move(action), &vu);
    m_ctl->appeler(DispId::SelectionActe);
    return vu;
}

void TestSelectionActe::rechercheEtChoix_data()
{
    QTest::addColumn<QString>("frappe");
    QTest::addColumn<QStringList>("trouves");
    QTest::addColumn<int>("descentes");
    QTest::addColumn<QString>("choisi");
    QTest::addColumn<QString>("libelleCourt");
    QTest::addColumn<QString>("prix");
    QTest::addColumn<QString>("regroupement");
    QTest::addColumn<QString>("modificateursActivite1");

    QTest::newRow("label word without accent, second result")
        << u"curietherapie"_s << QStringList{u"JLNL001"_s, u"JLNL002"_s} << 1 << u"JLNL002"_s
        << u"curiethérapie vaginale haut débit"_s << u"38000"_s << u"ATM"_s << QString();
    QTest::newRow("two label words with accents, first result")
        << u"curiethérapie bas"_s << QStringList{u"JLNL001"_s} << 0 << u"JLNL001"_s
        << u"curiethérapie vaginale bas débit"_s << u"36050"_s << u"ATM"_s
        << u"F|Acte en urgence un dimanche ou un jour férié|M|Urgence au cabinet après examen en urgence|"
           u"P|Urgence de soirée, de 20 h à minuit|S|Urgence de nuit, de minuit à 8 h|"
           u"U|Urgence de nuit, de 20 h à 8 h"_s;
    QTest::newRow("code prefix in lower case")
        << u"lhqk"_s << QStringList{u"LHQK001"_s, u"LHQK005"_s} << 1 << u"LHQK005"_s
        << u"scano plusieurs segments rachis"_s << u"2590"_s << u"ADI"_s
        << u"B|Radiographie au bloc opératoire ou au lit du patient|C|Radiographie comparative des membres|"
           u"E|Imagerie chez un patient de moins de 5 ans|F|Acte en urgence un dimanche ou un jour férié|"
           u"U|Urgence de nuit, de 20 h à 8 h|Y|Radiographie faite par un radiologue ou un rhumatologue|"
           u"Z|Radiographie faite par un radiologue"_s;
}

void TestSelectionActe::rechercheEtChoix()
{
    QFETCH(QString, frappe);
    QFETCH(QStringList, trouves);
    QFETCH(int, descentes);
    QFETCH(QString, choisi);

    QStringList listes;
    QString surligne;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        QCOMPARE(dialogue->parentWidget(), m_fenetre);
        auto* champ = enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche);
        auto* resultats = enfant<QListView>(dialogue, NomsSelectionActe::lstResultats);
        QVERIFY(champ && resultats);
        QCOMPARE(dialogue->focusWidget(), champ);
        taper(champ, frappe);
        listes = codesListes(resultats);
        // The arrows move through the results while typing goes on in the field.
        for (int i = 0; i < descentes; ++i)
            QTest::keyClick(champ, Qt::Key_Down);
        surligne = enfant<QLabel>(dialogue, NomsSelectionActe::lblCodeActe)->text();
        QTest::keyClick(champ, Qt::Key_Return);
    }));
    for (const QString& code : trouves)
        QVERIFY2(listes.contains(code), qPrintable(listes.join(u' ')));
    QCOMPARE(surligne, choisi);

    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), choisi);
    QTEST(m_ctl->lire(DispId::LibelleCourtActe).toString(), "libelleCourt");
    QVERIFY(!m_ctl->lire(DispId::LibelleLongActe).toString().isEmpty());
    QTEST(m_ctl->lire(DispId::PrixActe).toString(), "prix");
    QTEST(m_ctl->lire(DispId::CodeRegroupement).toString(), "regroupement");
    const QString activite1 = m_ctl->lire(DispId::ModificateursActivite1).toString();
    QFETCH(QString, modificateursActivite1);
    if (!modificateursActivite1.isEmpty())
        QCOMPARE(activite1, modificateursActivite1);
    // The list for all activities holds at least those of activity 1.
    const QStringList tous = m_ctl->lire(DispId::Modificateurs).toString().split(u'|');
    for (const QString& champ : activite1.split(u'|', Qt::SkipEmptyParts))
        QVERIFY(tous.contains(champ));
}

void TestSelectionActe::annulation_data()
{
    QTest::addColumn<QString>("codeEcrit");
    QTest::addColumn<bool>("parEchap");
    QTest::addColumn<QString>("libelleCourt");

    QTest::newRow("Esc, no act written") << QString() << true << QString();
    QTest::newRow("Cancel, no act written") << QString() << false << QString();
    QTest::newRow("Esc keeps a padded code as written")
        << u" hffc004 "_s << true << u"gastrectomie court-circuit obésité coelio."_s;
    QTest::newRow("Cancel keeps an unknown code") << u"XXXX000"_s << false << QString();
}

void TestSelectionActe::annulation()
{
    QFETCH(QString, codeEcrit);
    QFETCH(bool, parEchap);
    m_ctl->ecrire(DispId::CodeActe, codeEcrit);
    QVERIFY(selectionner([&](QDialog* dialogue) {
        auto* champ = enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche);
        // Something highlighted, so only the cancel is tested.
        champ->clear();
        taper(champ, u"appendicectomie"_s);
        QVERIFY(enfant<QPushButton>(dialogue, NomsSelectionActe::cmdChoisir)->isEnabled());
        if (parEchap)
            QTest::keyClick(champ, Qt::Key_Escape);
        else
            QTest::mouseClick(enfant<QPushButton>(dialogue, NomsSelectionActe::cmdAnnuler), Qt::LeftButton);
        QVERIFY(!dialogue->isVisible());
    }));
    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), codeEcrit);
    QTEST(m_ctl->lire(DispId::LibelleCourtActe).toString(), "libelleCourt");
}

void TestSelectionActe::ouvertureSurCodeActe_data()
{
    QTest::addColumn<QString>("codeEcrit");
    QTest::addColumn<QString>("recherche");
    QTest::addColumn<QString>("surligne");

    QTest::newRow("exact code") << u"LHQK005"_s << u"LHQK005"_s << u"LHQK005"_s;
    QTest::newRow("lower case with spaces") << u"  jlnl001 "_s << u"JLNL001"_s << u"JLNL001"_s;
    QTest::newRow("empty code opens empty") << QString() << QString() << QString();
    QTest::newRow("unknown code is searched as typed") << u"zz9"_s << u"zz9"_s << QString();
    // AANL001 ended in 2010: the search on the context date leaves it out.
    QTest::newRow("act not valid on the date") << u"AANL001"_s << u"AANL001"_s << QString();
}

void TestSelectionActe::ouvertureSurCodeActe()
{
    QFETCH(QString, codeEcrit);
    QFETCH(QString, surligne);
    m_ctl->ecrire(DispId::CodeActe, codeEcrit);
    QVERIFY(selectionner([&](QDialog* dialogue) {
        QTEST(enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche)->text(), "recherche");
        QCOMPARE(codeCourant(enfant<QListView>(dialogue, NomsSelectionActe::lstResultats)), surligne);
        QCOMPARE(enfant<QLabel>(dialogue, NomsSelectionActe::lblCodeActe)->text(), surligne);
        QCOMPARE(enfant<QPushButton>(dialogue, NomsSelectionActe::cmdChoisir)->isEnabled(),
                 !surligne.isEmpty());
        if (!surligne.isEmpty()) {
            // The chapter tree opens on the same act.
            auto* arbre = enfant<QTreeView>(dialogue, NomsSelectionActe::arbreChapitres);
            QCOMPARE(arbre->currentIndex().data(ModeleChapitres::RoleCode).toString(), surligne);
        }
        QTest::mouseClick(enfant<QPushButton>(dialogue, NomsSelectionActe::cmdChoisir), Qt::LeftButton);
    }));
    // OK with the act of CodeActe highlighted chooses it, in its canonical form.
    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), surligne.isEmpty() ? codeEcrit : surligne);
}

void TestSelectionActe::doubleClicChoisit()
{
    QVERIFY(selectionner([&](QDialog* dialogue) {
        taper(enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche), u"appendicectomie"_s);
        auto* resultats = enfant<QListView>(dialogue, NomsSelectionActe::lstResultats);
        const QStringList codes = codesListes(resultats);
        const int ligne = int(codes.indexOf(u"HHFA016"_s));
        QVERIFY2(ligne >= 0, qPrintable(codes.join(u' ')));
        const QRect zone = resultats->visualRect(resultats->model()->index(ligne, 0));
        QTest::mouseClick(resultats->viewport(), Qt::LeftButton, {}, zone.center());
        QVERIFY(dialogue->isVisible());
        QTest::mouseDClick(resultats->viewport(), Qt::LeftButton, {}, zone.center());
    }));
    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), u"HHFA016"_s);
}

void TestSelectionActe::entreeSansActeNeFermePas()
{
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral("JLNL001"));
    bool resteOuvert = false;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        auto* champ = enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche);
        champ->clear();
        taper(champ, u"mot introuvable"_s);
        QCOMPARE(enfant<QListView>(dialogue, NomsSelectionActe::lstResultats)->model()->rowCount(), 0);
        QVERIFY(!enfant<QPushButton>(dialogue, NomsSelectionActe::cmdChoisir)->isEnabled());
        QTest::keyClick(champ, Qt::Key_Return);
        resteOuvert = dialogue->isVisible();
        QTest::keyClick(champ, Qt::Key_Escape);
    }));
    QVERIFY(resteOuvert);
    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), u"JLNL001"_s);
}

void TestSelectionActe::contexteRestreintLaRecherche_data()
{
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<QString>("frappe");
    QTest::addColumn<bool>("trouve");

    QTest::newRow("radiology specialty leaves surgery out")
        << qint32(DispId::CodeSpecialite) << QVariant(qint32(6)) << u"gastrectomie"_s << false;
    QTest::newRow("radiology specialty keeps imaging")
        << qint32(DispId::CodeSpecialite) << QVariant(qint32(6)) << u"scano"_s << true;
    QTest::newRow("SRT only leaves out an act without price")
        << qint32(DispId::SRTSeulement) << QVariant(qint32(1)) << u"YYYY041"_s << false;
    QTest::newRow("without SRT the act without price is found")
        << qint32(DispId::SRTSeulement) << QVariant(qint32(0)) << u"YYYY041"_s << true;
    QTest::newRow("date before the act")
        << qint32(DispId::DateReference) << QVariant(u"20080101"_s) << u"AANL004"_s << false;
    QTest::newRow("date within the act")
        << qint32(DispId::DateReference) << QVariant(u"20080101"_s) << u"AANL001"_s << true;
}

void TestSelectionActe::contexteRestreintLaRecherche()
{
    QFETCH(qint32, dispId);
    QFETCH(QVariant, valeur);
    QFETCH(QString, frappe);
    QFETCH(bool, trouve);
    m_ctl->ecrire(dispId, valeur);
    int nombre = -1;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        taper(enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche), frappe);
        nombre = enfant<QListView>(dialogue, NomsSelectionActe::lstResultats)->model()->rowCount();
    }));
    QCOMPARE(nombre > 0, trouve);
}

void TestSelectionActe::detailsDansLeContexte()
{
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral("HFFC004"));
    m_ctl->ecrire(DispId::GrilleTarifaire, QStringLiteral("004"));
    QString prix, activites, regroupement, contexte;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        prix = enfant<QLabel>(dialogue, NomsSelectionActe::lblPrixActe)->text();
        activites = enfant<QLabel>(dialogue, NomsSelectionActe::lblActivites)->text();
        regroupement = enfant<QLabel>(dialogue, NomsSelectionActe::lblRegroupement)->text();
        contexte = enfant<QLabel>(dialogue, NomsSelectionActe::lblContexte)->text();
    }));
    // Grid 004 has its own price for activity 1; activity 4 falls back on the base price.
    QVERIFY2(prix.contains(u"495,00"_s), qPrintable(prix));
    QVERIFY2(activites.contains(u"495,00"_s) && activites.contains(u"245,10"_s), qPrintable(activites));
    QVERIFY2(regroupement.startsWith(u"ADC"_s), qPrintable(regroupement));
    QVERIFY2(contexte.contains(u"01/06/2025"_s) && contexte.contains(u"004"_s), qPrintable(contexte));
    // Cancelled: the result properties go on describing the written act.
    QCOMPARE(m_ctl->lire(DispId::PrixActe).toString(), u"49500"_s);
}

void TestSelectionActe::actesMasquesDits_data()
{
    QTest::addColumn<qint32>("specialite");
    QTest::addColumn<qint32>("srt");
    QTest::addColumn<QString>("frappe");
    QTest::addColumn<int>("resultats");
    QTest::addColumn<QString>("note");

    QTest::newRow("spécialité 06 : chirurgie masquée")
        << 6 << 0 << u"gastrectomie"_s << 0 << u"2 actes masqués par la spécialité 06"_s;
    QTest::newRow("sans spécialité : rien de masqué") << 0 << 0 << u"gastrectomie"_s << 2 << QString();
    QTest::newRow("SRT uniquement") << 0 << 1 << u"surveillance"_s << 0
                                    << u"1 acte masqué par « SRT uniquement »"_s;
    QTest::newRow("acte fermé à la date de référence")
        << 0 << 0 << u"irrad"_s << 1 << u"1 acte masqué par la date du 01/06/2025"_s;
    QTest::newRow("deux raisons")
        << 19 << 0 << u"irrad"_s << 0
        << u"2 actes masqués : 1 par la spécialité 19, 1 par la date du 01/06/2025"_s;
}

// The dialog says what the context hides of what the text matches, once typing pauses.
void TestSelectionActe::actesMasquesDits()
{
    QFETCH(qint32, specialite);
    QFETCH(qint32, srt);
    QFETCH(QString, frappe);
    QFETCH(int, resultats);
    QFETCH(QString, note);
    m_ctl->ecrire(DispId::CodeSpecialite, specialite);
    m_ctl->ecrire(DispId::SRTSeulement, srt);
    int nombre = -1;
    QString lue, apresEffacement;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        auto* champ = enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche);
        auto* masques = enfant<QLabel>(dialogue, NomsSelectionActe::lblActesMasques);
        taper(champ, frappe);
        nombre = enfant<QListView>(dialogue, NomsSelectionActe::lstResultats)->model()->rowCount();
        QTest::qWait(3 * DialogueSelectionActe::delaiMasquesMs);
        lue = masques->text();
        champ->clear();
        apresEffacement = masques->text();
    }));
    QCOMPARE(nombre, resultats);
    QCOMPARE(lue, note);
    QCOMPARE(apresEffacement, QString());
}

void TestSelectionActe::chapitresEtRechercheDAccord_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<qint32>("specialite");
    QTest::addColumn<bool>("srt");
    QTest::newRow("radiologue") << u"20250601"_s << 6 << false;
    QTest::newRow("SRT uniquement") << u"20250601"_s << 0 << true;
    QTest::newRow("dentiste en 2008") << u"20080101"_s << 19 << false;
}

// Every act shows in the chapters exactly when a search in the same context keeps it; each chapter ends
// with a note counting, in the search's words, the acts of its own the context hides; none opens empty.
void TestSelectionActe::chapitresEtRechercheDAccord()
{
    QFETCH(QString, date);
    QFETCH(qint32, specialite);
    QFETCH(bool, srt);
    const ContexteRequete contexte{date, u"001"_s, specialite, srt};
    const MagasinCcam magasin(QStringLiteral(BANC_CCAM_ECHANTILLON));
    ModeleChapitres modele(magasin, contexte);

    QStringList montres;
    qint64 masques = 0;
    std::function<void(const QModelIndex&)> parcourir = [&](const QModelIndex& parent) {
        if (modele.canFetchMore(parent))
            modele.fetchMore(parent);
        if (parent.isValid() && modele.data(parent, ModeleChapitres::RoleCode).toString().isEmpty())
            QVERIFY2(modele.rowCount(parent) > 0 || !modele.hasChildren(parent),
                     qPrintable(modele.data(parent).toString()));
        for (int i = 0; i < modele.rowCount(parent); ++i) {
            const QModelIndex index = modele.index(i, 0, parent);
            const QString code = index.data(ModeleChapitres::RoleCode).toString();
            if (!code.isEmpty()) {
                montres.append(code);
                QVERIFY(magasin.rechercher(code, contexte).size() == 1);
            } else if (index.data(ModeleChapitres::RoleMasques).isValid()) {
                masques += index.data(ModeleChapitres::RoleMasques).toLongLong();
                QVERIFY(!(modele.flags(index) & Qt::ItemIsSelectable));
                QVERIFY2(index.data().toString().contains(u"masqué"_s), qPrintable(index.data().toString()));
            } else {
                parcourir(index);
            }
        }
    };
    parcourir({});
    // Every act of the sample, whatever its dates: those valid in 2008 and those valid in 2025.
    QSet<QString> tousLesActes;
    for (const QString& jour : {u"20080101"_s, u"20250601"_s})
        for (QChar lettre = u'A'; lettre <= u'Z'; lettre = QChar(lettre.unicode() + 1))
            for (const Acte& acte : magasin.rechercher(QString(lettre), {jour, u"001"_s, 0, false}, 1000))
                tousLesActes.insert(acte.code);
    QVERIFY(tousLesActes.size() >= 29);
    QStringList attendus;
    qint64 attendusMasques = 0;
    for (const QString& code : std::as_const(tousLesActes)) {
        if (magasin.masque(code, contexte) == MagasinCcam::Masque::Aucun)
            attendus.append(code);
        else
            ++attendusMasques;
    }
    montres.sort();
    attendus.sort();
    QCOMPARE(montres, attendus);
    QCOMPARE(masques, attendusMasques);
}

// Typing and moving through the results change the details, never the splitter between them.
void TestSelectionActe::partageImmobilePendantLaFrappe()
{
    QList<QList<int>> tailles;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        auto* partage = enfant<QSplitter>(dialogue, NomsSelectionActe::splSelection);
        auto* champ = enfant<QLineEdit>(dialogue, NomsSelectionActe::txtRecherche);
        tailles.append(partage->sizes());
        for (const QString& texte : {u"gastrectomie longitudinale"_s, u"HFFC"_s, u"écho"_s}) {
            champ->clear();
            for (const QChar c : texte) {
                taper(champ, QString(c));
                QCoreApplication::processEvents();
                tailles.append(partage->sizes());
            }
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(champ, Qt::Key_Down);
                QCoreApplication::processEvents();
                tailles.append(partage->sizes());
            }
        }
    }));
    QVERIFY(tailles.size() > 1);
    for (const QList<int>& t : std::as_const(tailles))
        QCOMPARE(t, tailles.constFirst());
}

void TestSelectionActe::choixDansLesChapitres()
{
    QString choisi;
    QVERIFY(selectionner([&](QDialog* dialogue) {
        auto* onglets = enfant<QTabWidget>(dialogue, NomsSelectionActe::ongletsSelection);
        auto* arbre = enfant<QTreeView>(dialogue, NomsSelectionActe::arbreChapitres);
        onglets->setCurrentWidget(arbre);
        arbre->setFocus();
        // Walk down the first branch to its first act, opening chapters as the operator would.
        QModelIndex index = arbre->model()->index(0, 0);
        QVERIFY(index.isValid());
        while (index.isValid() && index.data(ModeleChapitres::RoleCode).toString().isEmpty()) {
            arbre->setCurrentIndex(index);
            QVERIFY(!enfant<QPushButton>(dialogue, NomsSelectionActe::cmdChoisir)->isEnabled());
            arbre->expand(index);
            if (arbre->model()->canFetchMore(index))
                arbre->model()->fetchMore(index);
            index = arbre->model()->index(0, 0, index);
        }
        QVERIFY(index.isValid());
        arbre->setCurrentIndex(index);
        choisi = index.data(ModeleChapitres::RoleCode).toString();
        QCOMPARE(enfant<QLabel>(dialogue, NomsSelectionActe::lblCodeActe)->text(), choisi);
        QTest::keyClick(arbre, Qt::Key_Return);
    }));
    QVERIFY(!choisi.isEmpty());
    QCOMPARE(m_ctl->lire(DispId::CodeActe).toString(), choisi);
}

QTEST_MAIN(TestSelectionActe)
#include "tst_selectionacte.moc"
