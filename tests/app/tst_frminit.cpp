#include "controleenregistreur.h"
#include "demarrage.h"
#include "echec.h"
#include "frminit.h"
#include "journaltest.h"
#include "listelignes.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "tablecontroles.h"
#include "tablemembres.h"
#include "tarvo.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QTest>
#include <cstring>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// A system of the test's making; it can also fail as a system call would.
class SondeTest : public SondeSysteme
{
public:
    std::optional<QByteArray> profil = QByteArrayLiteral("C:\\ProgramData");
    VersionOs version{6, 1, 1};
    bool echoue = false;

    quint32 variableEnvironnement(const char*, char* tampon, quint32 taille) const override
    {
        if (echoue)
            throw Echec(Echec::EchecComposant, QStringLiteral("Environnement illisible"));
        if (!profil || profil->isEmpty())
            return 0;
        const auto longueur = static_cast<quint32>(profil->size());
        if (longueur >= taille)
            return longueur + 1;
        std::memcpy(tampon, profil->constData(), longueur + 1);
        return longueur;
    }

    VersionOs versionSysteme() const override { return version; }
};

const QString Fin = QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf");
const QString Titre = QStringLiteral("Banc d'essai CCAM");

// The design name of the control that holds the focus (a date edit's inner box counts as the
// date edit).
QString nomDuFocus()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (TableFrmInit::controle(w->objectName()))
            return w->objectName();
    }
    return {};
}

QString texteDe(QWidget* w)
{
    if (auto* zone = qobject_cast<QLineEdit*>(w))
        return zone->text();
    if (auto* zone = qobject_cast<QPlainTextEdit*>(w))
        return zone->toPlainText();
    if (auto* liste = qobject_cast<QComboBox*>(w))
        return liste->currentText();
    if (auto* liste = qobject_cast<QListView*>(w))
        return qobject_cast<QStringListModel*>(liste->model())->stringList().join(QLatin1Char('\n'));
    return QStringLiteral("<genre inattendu>");
}

class FiltreFermeture : public QObject
{
public:
    explicit FiltreFermeture(int* fermetures)
        : m_fermetures(fermetures)
    {}
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Close)
            ++*m_fermetures;
        return false;
    }

private:
    int* m_fermetures;
};

// What a screen reader announces for the control: its name, or on platforms where a list's name
// is its current entry, the label it is related to.
QString nomAnnonce(QWidget* w)
{
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(w);
    if (!interface)
        return {};
    if (interface->text(QAccessible::Name) == w->accessibleName())
        return w->accessibleName();
    const auto relations = interface->relations(QAccessible::Label);
    for (const auto& relation : relations)
        return relation.first->text(QAccessible::Name) == w->accessibleName() ? w->accessibleName()
                                                                              : QString();
    return interface->text(QAccessible::Name);
}

int nombreEntrees(QWidget* w)
{
    if (auto* liste = qobject_cast<QComboBox*>(w))
        return liste->count();
    if (auto* liste = qobject_cast<QListView*>(w))
        return liste->model()->rowCount();
    return -1;
}

} // namespace

class TestFrmInit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void valeursAuDemarrage_data();
    void valeursAuDemarrage();
    void caseEtDateAuDemarrage();
    void cheminDeConfiguration_data();
    void cheminDeConfiguration();
    void dateDuJourQuelleQueSoitLaLocale_data();
    void dateDuJourQuelleQueSoitLaLocale();

    void geometrie_data();
    void geometrie();
    void fenetreFixeCentreeSansReduction();
    void list1EstLaVueDesLignesEntieres();
    void dateTapee_data();
    void dateTapee();
    void calendrierEnFrancais();
    void centreeParSonCadre_data();
    void centreeParSonCadre();
    void policesEtAlignements_data();
    void policesEtAlignements();

    void ordreDeTabulation();
    void boutonAtteintParTabEtActiveAuClavier_data();
    void boutonAtteintParTabEtActiveAuClavier();
    void chaqueBoutonLanceSonGestionnaire_data();
    void chaqueBoutonLanceSonGestionnaire();
    void cablageDesBoutons_data();
    void cablageDesBoutons();
    void sourceDeLaSequenceLitLaFenetreAuMomentVoulu();
    void command3LitLaDateEtLaGrilleDeCetteFenetre();

    void zonesEnLectureSeule_data();
    void zonesEnLectureSeule();
    void listesRefusentLeTexteTape_data();
    void listesRefusentLeTexteTape();
    void quitterEtCaseDeFermeture_data();
    void quitterEtCaseDeFermeture();

    void nomsAccessibles_data();
    void nomsAccessibles();
    void toutControleAtteignableEstNomme();

    void echecEnCommande_data();
    void echecEnCommande();
    void commandesSansChevauchement_data();
    void commandesSansChevauchement();
    void demarrageEnEchec_data();
    void demarrageEnEchec();
    void demarrageReussi();

private:
    template<typename T> T* controle(const QString& nom) const
    {
        auto* w = m_fenetre->findChild<T*>(nom);
        if (!w)
            throw std::logic_error("contrôle introuvable");
        return w;
    }
    FabriqueControle fabrique();
    CommandesFrmInit commandesTest();
    void afficher();

    JournalTest m_journal;
    std::unique_ptr<ServiceMessagesScripte> m_messages;
    SondeTest m_sonde;
    ControleEnregistreur* m_ctlTarvo1 = nullptr;
    std::function<void(const QString&, const ContexteCommande&)> m_gestionnaire;
    std::unique_ptr<FrmInit> m_fenetre;
};

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

} // namespace

// The window's command buttons as the design lists them, written out here so that a button missing from the
// wiring fails the tests instead of vanishing from their rows.
const QStringList boutonsDeCommande{
    QStringLiteral("cmdSelectActeCCAM"), QStringLiteral("Command1"), QStringLiteral("Command2"),
    QStringLiteral("Command3"),          QStringLiteral("Command4"), QStringLiteral("Command5"),
    QStringLiteral("Command6"),          QStringLiteral("Command7"),
};

FabriqueControle TestFrmInit::fabrique()
{
    return [this](QWidget*) {
        auto controle = std::make_unique<ControleEnregistreur>(&m_journal);
        m_ctlTarvo1 = controle.get();
        return controle;
    };
}

// Every wired button runs a handler of the test's own, which records its button's name and then
// does what the test asks.
CommandesFrmInit TestFrmInit::commandesTest()
{
    CommandesFrmInit commandes;
    for (const QString& bouton : boutonsDeCommande) {
        commandes.insert(bouton, [this, bouton](const ContexteCommande& contexte) {
            m_journal.ajouter(bouton);
            if (m_gestionnaire)
                m_gestionnaire(bouton, contexte);
        });
    }
    return commandes;
}

void TestFrmInit::init()
{
    m_journal.vider();
    m_messages = std::make_unique<ServiceMessagesScripte>(&m_journal);
    m_sonde = SondeTest();
    m_gestionnaire = nullptr;
    m_fenetre = std::make_unique<FrmInit>(*m_messages, fabrique(), m_sonde, commandesTest());
    m_fenetre->charger();
}

void TestFrmInit::cleanup()
{
    m_fenetre.reset();
    m_messages.reset();
    QLocale::setDefault(QLocale::c());
}

void TestFrmInit::afficher()
{
    m_fenetre->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fenetre.get()));
}

void TestFrmInit::valeursAuDemarrage_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("entrees"); // -1: not a list

    const QString vide;
    QTest::newRow("CboGrille montre 001") << "CboGrille"
                                          << "001" << 3;
    QTest::newRow("txtSpecialite 06") << "txtSpecialite"
                                      << "06" << -1;
    QTest::newRow("txtCodeCCAM vide") << "txtCodeCCAM" << vide << -1;
    QTest::newRow("TxtLibCourt vide") << "TxtLibCourt" << vide << -1;
    QTest::newRow("TextLiblong vide") << "TextLiblong" << vide << -1;
    QTest::newRow("TxtPrix vide") << "TxtPrix" << vide << -1;
    QTest::newRow("TxtRegroupement vide") << "TxtRegroupement" << vide << -1;
    QTest::newRow("txtLibCCAM vide") << "txtLibCCAM" << vide << -1;
    QTest::newRow("txtLibLongCCAM vide") << "txtLibLongCCAM" << vide << -1;
    QTest::newRow("cboMod sans entrée") << "cboMod" << vide << 0;
    QTest::newRow("cboModAct1 sans entrée") << "cboModAct1" << vide << 0;
    QTest::newRow("cboModAct4 sans entrée") << "cboModAct4" << vide << 0;
    QTest::newRow("cboModAct5 sans entrée") << "cboModAct5" << vide << 0;
    QTest::newRow("List1 sans entrée") << "List1" << vide << 0;
    QTest::newRow("NGAP date des soins") << "TxtDateDesSoins"
                                         << "20040502" << -1;
    QTest::newRow("NGAP numéros de dents") << "TxtNoDents"
                                           << "1,2,3,4,5,6,10,12,15" << -1;
    QTest::newRow("NGAP code caisse") << "TxtCaisse"
                                      << "622" << -1;
    QTest::newRow("NGAP identifiant PS") << "TxtIdentPS"
                                         << "99999999" << -1;
    QTest::newRow("NGAP clé identifiant PS") << "TxtClefIdentPS"
                                             << "8" << -1;
    QTest::newRow("NGAP nature assurance") << "TxtAssurance"
                                           << "AS" << -1;
}

void TestFrmInit::valeursAuDemarrage()
{
    QFETCH(QString, nom);
    QFETCH(QString, texte);
    QFETCH(int, entrees);

    QWidget* w = controle<QWidget>(nom);
    QCOMPARE(texteDe(w), texte);
    QCOMPARE(nombreEntrees(w), entrees);
}

void TestFrmInit::caseEtDateAuDemarrage()
{
    QCOMPARE(controle<QCheckBox>(QStringLiteral("chkSRT"))->checkState(), Qt::Unchecked);
    QCOMPARE(controle<QComboBox>(QStringLiteral("CboGrille"))->currentIndex(), 1);
    const QDate date = controle<QDateEdit>(QStringLiteral("DTPicker1"))->date();
    QVERIFY(date == QDate::currentDate() || date.addDays(1) == QDate::currentDate());
    QVERIFY(controle<QDateEdit>(QStringLiteral("DTPicker1"))->calendarPopup());
    // The load wrote nothing to the control.
    QCOMPARE(m_journal.entrees, QStringList());
}

void TestFrmInit::cheminDeConfiguration_data()
{
    QTest::addColumn<std::optional<QByteArray>>("profil");
    QTest::addColumn<quint32>("majeure");
    QTest::addColumn<quint32>("mineure");
    QTest::addColumn<QString>("repertoire");

    const QByteArray long300(300, 'p');
    const QByteArray long40000(40000, 'q');
    QTest::newRow("C:\\ProgramData en 6.1") << std::optional(QByteArrayLiteral("C:\\ProgramData")) << 6u << 1u
                                            << QStringLiteral("C:\\ProgramData") + Fin;
    QTest::newRow("variable absente en 6.0") << std::optional<QByteArray>() << 6u << 0u << Fin;
    QTest::newRow("ancien système 5.1") << std::optional(QByteArrayLiteral("C:\\ProgramData")) << 5u << 1u
                                        << QStringLiteral("C:\\ProgramData\\Application Data") + Fin;
    QTest::newRow("valeur de 300 caractères")
        << std::optional(long300) << 6u << 1u << QString::fromLatin1(long300) + Fin;
    QTest::newRow("valeur plus longue qu'une zone de texte par défaut")
        << std::optional(long40000) << 6u << 1u << QString::fromLatin1(long40000) + Fin;
}

void TestFrmInit::cheminDeConfiguration()
{
    QFETCH(std::optional<QByteArray>, profil);
    QFETCH(quint32, majeure);
    QFETCH(quint32, mineure);
    QFETCH(QString, repertoire);

    m_sonde.profil = profil;
    m_sonde.version = VersionOs{majeure, mineure, 1};
    FrmInit fenetre(*m_messages, fabrique(), m_sonde, commandesFrmInit(appelsTarvo()));
    fenetre.charger();

    QCOMPARE(fenetre.controles().TXTCheminSESAM->text(), repertoire);
}

void TestFrmInit::dateDuJourQuelleQueSoitLaLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("jour avant mois") << "fr_FR";
    QTest::newRow("mois avant jour") << "en_US";
    QTest::newRow("année d'abord") << "sv_SE";
}

void TestFrmInit::dateDuJourQuelleQueSoitLaLocale()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));

    const QDate avant = QDate::currentDate();
    FrmInit fenetre(*m_messages, fabrique(), m_sonde, commandesFrmInit(appelsTarvo()));
    fenetre.charger();
    const QDate date = fenetre.controles().DTPicker1->date();

    QVERIFY2(date == avant || date == QDate::currentDate(), qPrintable(date.toString(Qt::ISODate)));
}

void TestFrmInit::geometrie_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("conteneur");
    QTest::addColumn<QRect>("pixels");

    QTest::newRow("Label25 du chemin") << "Label25"
                                       << "frmInit" << QRect(160, 4, 132, 18);
    QTest::newRow("TXTCheminSESAM") << "TXTCheminSESAM"
                                    << "frmInit" << QRect(288, 2, 381, 21);
    QTest::newRow("fraCCAM") << "fraCCAM"
                             << "frmInit" << QRect(16, 26, 651, 329);
    QTest::newRow("chkSRT à cheval sur le bord") << "chkSRT"
                                                 << "fraCCAM" << QRect(17, -5, 138, 25);
    QTest::newRow("txtCodeCCAM") << "txtCodeCCAM"
                                 << "fraCCAM" << QRect(163, 26, 83, 22);
    QTest::newRow("cmdSelectActeCCAM") << "cmdSelectActeCCAM"
                                       << "fraCCAM" << QRect(247, 26, 36, 23);
    QTest::newRow("CboGrille") << "CboGrille"
                               << "fraCCAM" << QRect(571, 204, 59, 23);
    QTest::newRow("Command3 caché") << "Command3"
                                    << "fraCCAM" << QRect(381, 269, 69, 41);
    QTest::newRow("Frame1 sous le bord") << "Frame1"
                                         << "frmInit" << QRect(14, 360, 651, 94);
    QTest::newRow("List1 dans Frame1") << "List1"
                                       << "Frame1" << QRect(156, 17, 329, 69);
    QTest::newRow("Command7 hors de la zone visible") << "Command7"
                                                      << "frmInit" << QRect(142, 737, 203, 30);
    QTest::newRow("TxtClefIdentPS") << "TxtClefIdentPS"
                                    << "frmInit" << QRect(217, 618, 25, 26);
}

void TestFrmInit::geometrie()
{
    QFETCH(QString, nom);
    QFETCH(QString, conteneur);
    QFETCH(QRect, pixels);

    QWidget* w = controle<QWidget>(nom);
    QCOMPARE(w->parentWidget()->objectName(), conteneur);
    QCOMPARE(w->geometry(), pixels);
}

void TestFrmInit::fenetreFixeCentreeSansReduction()
{
    QCOMPARE(m_fenetre->objectName(), QStringLiteral("frmInit"));
    QCOMPARE(m_fenetre->windowTitle(), QStringLiteral("Sélection acte CCAM - Version MultiTarifs"));
    QCOMPARE(m_fenetre->size(), QSize(721, 363));
    QCOMPARE(m_fenetre->minimumSize(), m_fenetre->maximumSize());
    const Qt::WindowFlags drapeaux = m_fenetre->windowFlags();
    QVERIFY(drapeaux.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!drapeaux.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!drapeaux.testFlag(Qt::WindowMaximizeButtonHint));

    const QImage iconeFenetre = m_fenetre->windowIcon().pixmap(32, 32).toImage();
    const QImage iconeBouton =
        controle<QPushButton>(QStringLiteral("cmdSelectActeCCAM"))->icon().pixmap(32, 32).toImage();
    QCOMPARE(iconeFenetre.size(), QSize(32, 32));
    QCOMPARE(iconeBouton.size(), QSize(32, 32));
    QVERIFY(iconeFenetre != iconeBouton);

    afficher();
    QTest::qWait(0);
    const QPoint centre = m_fenetre->screen()->availableGeometry().center();
    // The whole window is centred, title bar and frame included, not its client area.
    QVERIFY2((m_fenetre->frameGeometry().center() - centre).manhattanLength() <= 1,
             qPrintable(QStringLiteral("cadre %1,%2 %3x%4, centre %5,%6")
                            .arg(m_fenetre->frameGeometry().x())
                            .arg(m_fenetre->frameGeometry().y())
                            .arg(m_fenetre->frameGeometry().width())
                            .arg(m_fenetre->frameGeometry().height())
                            .arg(centre.x())
                            .arg(centre.y())));
    QVERIFY(!controle<QPushButton>(QStringLiteral("Command3"))->isVisible());
}

void TestFrmInit::list1EstLaVueDesLignesEntieres()
{
    auto* liste = qobject_cast<ListeLignes*>(controle<QListView>(QStringLiteral("List1")));
    QVERIFY(liste);
    QVERIFY(liste->uniformItemSizes());
    QVERIFY(qobject_cast<QStringListModel*>(liste->model()));
}

void TestFrmInit::dateTapee_data()
{
    QTest::addColumn<QString>("touches"); // "<haut>" and "<droite>" stand for the arrow keys
    QTest::addColumn<QDate>("date");

    // The picker shows 05/03/2024 and the operator clicks in the day first.
    QTest::newRow("huit chiffres d'affilée") << QStringLiteral("01012010") << QDate(2010, 1, 1);
    QTest::newRow("avec les barres") << QStringLiteral("01/01/2010") << QDate(2010, 1, 1);
    QTest::newRow("un chiffre par partie et les barres") << QStringLiteral("1/2/2010") << QDate(2010, 2, 1);
    QTest::newRow("jour de fin de mois gardé pour le mois tapé")
        << QStringLiteral("31122024") << QDate(2024, 12, 31);
    QTest::newRow("un chiffre qui ne peut avoir de second") << QStringLiteral("471999") << QDate(1999, 7, 4);
    QTest::newRow("30 février ramené au dernier jour") << QStringLiteral("30022023") << QDate(2023, 2, 28);
    QTest::newRow("année à deux chiffres, puis la barre") << QStringLiteral("01/01/10/") << QDate(2010, 1, 1);
    QTest::newRow("la flèche fait toujours un pas") << QStringLiteral("<haut>") << QDate(2024, 3, 6);
    QTest::newRow("flèche sur le mois après la barre") << QStringLiteral("/<haut>") << QDate(2024, 4, 5);
}

void TestFrmInit::dateTapee()
{
    QFETCH(QString, touches);
    QFETCH(QDate, date);
    afficher();
    auto* picker = controle<QDateEdit>(QStringLiteral("DTPicker1"));
    picker->setDate(QDate(2024, 3, 5));
    auto* zone = picker->findChild<QLineEdit*>();
    // In the day, as the operator clicks on it.
    QTest::mouseClick(zone, Qt::LeftButton, {},
                      QPoint(zone->fontMetrics().horizontalAdvance(u"0"_s), zone->height() / 2));
    QCOMPARE(picker->currentSection(), QDateTimeEdit::DaySection);

    QString reste = touches;
    while (!reste.isEmpty()) {
        if (reste.startsWith(u"<haut>"_s)) {
            QTest::keyClick(picker, Qt::Key_Up);
            reste.remove(0, 6);
        } else {
            QTest::keyClicks(picker, reste.left(1));
            reste.remove(0, 1);
        }
    }
    QCOMPARE(picker->date(), date);
    // Leaving the picker keeps what was typed.
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(picker->date(), date);
}

// The drop-down calendar speaks French under any locale, the C one included.
void TestFrmInit::calendrierEnFrancais()
{
    QLocale::setDefault(QLocale::c());
    FrmInit fenetre(*m_messages, fabrique(), m_sonde, commandesTest());
    auto* calendrier = fenetre.findChild<QDateEdit*>(QStringLiteral("DTPicker1"))->calendarWidget();
    QCOMPARE(calendrier->locale().monthName(1), u"janvier"_s);
    QCOMPARE(calendrier->firstDayOfWeek(), Qt::Monday);
}

void TestFrmInit::centreeParSonCadre_data()
{
    QTest::addColumn<QRect>("disponible");
    QTest::addColumn<QMargins>("cadre");
    QTest::addColumn<QPoint>("coin"); // where the frame's top-left corner goes

    const QRect ecran(0, 0, 1280, 1024);
    QTest::newRow("sans cadre") << ecran << QMargins() << QPoint(279, 330);
    // A 30-pixel title bar raises the window by half of it, a 4-pixel border moves it 4 pixels left; an odd
    // spare pixel goes to the right and bottom.
    QTest::newRow("barre de titre et bordures") << ecran << QMargins(4, 30, 4, 4) << QPoint(275, 313);
    QTest::newRow("écran décalé, barre des tâches à gauche")
        << QRect(1328, 0, 1232, 1024) << QMargins(8, 31, 8, 8) << QPoint(1575, 311);
}

void TestFrmInit::centreeParSonCadre()
{
    QFETCH(QRect, disponible);
    QFETCH(QMargins, cadre);
    QFETCH(QPoint, coin);

    const QSize client(721, 363);
    QCOMPARE(positionCentree(disponible, client, cadre), coin);
    const QRect fenetre(coin, client.grownBy(cadre));
    QVERIFY((fenetre.center() - disponible.center()).manhattanLength() <= 1);
}

void TestFrmInit::policesEtAlignements_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("gras");
    QTest::addColumn<bool>("italique");
    QTest::addColumn<int>("alignement"); // horizontal part

    QTest::newRow("étiquette de fraCCAM") << "Label16" << true << true << int(Qt::AlignRight);
    QTest::newRow("chkSRT") << "chkSRT" << true << true << -1;
    QTest::newRow("étiquette du chemin") << "Label25" << false << false << int(Qt::AlignLeft);
    QTest::newRow("note des dents") << "Label13" << false << true << int(Qt::AlignLeft);
    QTest::newRow("étiquette NGAP") << "Label5" << false << false << int(Qt::AlignRight);
    QTest::newRow("code acte centré") << "txtCodeCCAM" << false << false << int(Qt::AlignHCenter);
    QTest::newRow("prix à droite") << "TxtPrix" << false << false << int(Qt::AlignRight);
    QTest::newRow("regroupement à gauche") << "TxtRegroupement" << false << false << int(Qt::AlignLeft);
    QTest::newRow("zone NGAP centrée") << "TxtCaisse" << false << false << int(Qt::AlignHCenter);
}

void TestFrmInit::policesEtAlignements()
{
    QFETCH(QString, nom);
    QFETCH(bool, gras);
    QFETCH(bool, italique);
    QFETCH(int, alignement);

    QWidget* w = controle<QWidget>(nom);
    QCOMPARE(w->font().family(), QStringLiteral("Arial"));
    QCOMPARE(w->font().pointSize(), 9);
    QCOMPARE(w->font().bold(), gras);
    QCOMPARE(w->font().italic(), italique);
    Qt::Alignment reel;
    if (auto* etiquette = qobject_cast<QLabel*>(w))
        reel = etiquette->alignment();
    else if (auto* zone = qobject_cast<QLineEdit*>(w))
        reel = zone->alignment();
    if (alignement >= 0)
        QCOMPARE(int(reel & Qt::AlignHorizontal_Mask), alignement);
}

void TestFrmInit::ordreDeTabulation()
{
    afficher();
    QCOMPARE(nomDuFocus(), QStringLiteral("TxtDateDesSoins"));

    const QStringList attendu{
        u"TxtDateDesSoins"_s,
        u"TxtCodeNGAP"_s,
        u"TxtAssurance"_s,
        u"TxtActivite"_s,
        u"TxtCodeAgrementRadio"_s,
        u"TxtPhase"_s,
        u"TxtDateDeNaissance"_s,
        u"TxtModificateur"_s,
        u"TxtCaisse"_s,
        u"TxtModificateur2"_s,
        u"TxtNoDents"_s,
        u"TxtConvention"_s,
        u"TxtIdentPS"_s,
        u"TxtClefIdentPS"_s,
        u"chkSRT"_s,
        u"txtCodeCCAM"_s,
        u"cmdSelectActeCCAM"_s,
        u"cboModAct1"_s,
        u"cboMod"_s,
        u"cboModAct4"_s,
        u"cboModAct5"_s,
        u"TxtLibCourt"_s,
        u"TextLiblong"_s,
        u"txtSpecialite"_s,
        u"cmdQuitter"_s,
        u"DTPicker1"_s,
        u"TxtPrix"_s,
        u"TxtRegroupement"_s,
        u"Command1"_s,
        u"List1"_s,
        u"Command2"_s,
        u"CboGrille"_s,
        u"Command4"_s,
        u"Command5"_s,
        u"txtLibCCAM"_s,
        u"txtLibLongCCAM"_s,
        u"Command6"_s,
        u"Command7"_s,
        u"TXTCheminSESAM"_s,
    };
    QStringList parcours{nomDuFocus()};
    for (int i = 0; i < 2 * attendu.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (nomDuFocus() == attendu.first())
            break;
        parcours.append(nomDuFocus());
    }
    QCOMPARE(parcours, attendu);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(nomDuFocus(), QStringLiteral("TXTCheminSESAM"));
}

void TestFrmInit::boutonAtteintParTabEtActiveAuClavier_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("touche");

    QTest::newRow("Command1 par Espace") << "Command1" << int(Qt::Key_Space);
    QTest::newRow("Command1 par Entrée") << "Command1" << int(Qt::Key_Return);
    QTest::newRow("Command7 par Entrée du pavé") << "Command7" << int(Qt::Key_Enter);
    QTest::newRow("cmdSelectActeCCAM par Espace") << "cmdSelectActeCCAM" << int(Qt::Key_Space);
}

void TestFrmInit::boutonAtteintParTabEtActiveAuClavier()
{
    QFETCH(QString, bouton);
    QFETCH(int, touche);
    afficher();

    for (int i = 0; i < 60 && nomDuFocus() != bouton; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(nomDuFocus(), bouton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(touche));

    QCOMPARE(m_journal.entrees, QStringList{bouton});
}

void TestFrmInit::chaqueBoutonLanceSonGestionnaire_data()
{
    QTest::addColumn<QString>("bouton");
    for (const QString& bouton : boutonsDeCommande)
        QTest::newRow(qPrintable(bouton)) << bouton;
}

void TestFrmInit::chaqueBoutonLanceSonGestionnaire()
{
    QFETCH(QString, bouton);
    const ContexteCommande* recu = nullptr;
    std::optional<ContexteCommande> copie;
    m_gestionnaire = [&](const QString&, const ContexteCommande& contexte) {
        recu = &contexte;
        copie.emplace(contexte);
    };

    // Command3 is hidden, so no click can reach it; its signal still runs the handler.
    controle<QPushButton>(bouton)->click();

    QCOMPARE(m_journal.entrees, QStringList{bouton});
    QVERIFY(recu);
    QCOMPARE(&copie->ctlTarvo1, static_cast<ControleDispatch*>(m_ctlTarvo1));
    QCOMPARE(&copie->messages, static_cast<ServiceMessages*>(m_messages.get()));
    QCOMPARE(&copie->sonde, static_cast<const SondeSysteme*>(&m_sonde));
    QCOMPARE(copie->fenetre.txtCodeCCAM, controle<QLineEdit>(QStringLiteral("txtCodeCCAM")));
    QCOMPARE(copie->fenetre.List1, controle<QListView>(QStringLiteral("List1")));
    QCOMPARE(copie->fenetre.frmInit, static_cast<QWidget*>(m_fenetre.get()));
}

void TestFrmInit::cablageDesBoutons_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("requete"); // the query the button's command makes of the control
    QTest::newRow("cmdSelectActeCCAM") << S("cmdSelectActeCCAM") << S("SelectionActe()");
    QTest::newRow("Command1") << S("Command1") << S("LireModificateurs()");
    QTest::newRow("Command2") << S("Command2") << S("LirePrix()");
    QTest::newRow("Command4") << S("Command4") << S("LireModificateursActe()");
    QTest::newRow("Command5") << S("Command5") << S("LireRegroupements()");
    QTest::newRow("Command6") << S("Command6") << S("LireLibelleLong()");
    QTest::newRow("Command7") << S("Command7") << S("LireActesCompatibles()");
}

// The real wiring: each button reaches its own command, seen by the query that command makes of the control.
// Command3 calls the library, not the control: its wiring is followed below.
void TestFrmInit::cablageDesBoutons()
{
    QFETCH(QString, bouton);
    QFETCH(QString, requete);
    const CommandesFrmInit commandes = commandesFrmInit(appelsTarvo());
    QCOMPARE(QSet<QString>(commandes.keyBegin(), commandes.keyEnd()),
             QSet<QString>(boutonsDeCommande.cbegin(), boutonsDeCommande.cend()));
    m_fenetre = std::make_unique<FrmInit>(*m_messages, fabrique(), m_sonde, commandes);
    m_fenetre->charger();
    for (const MembreCtlTarvo& membre : membresCtlTarvo())
        m_ctlTarvo1->reponses.insert(membre.dispId, QString());
    controle<QLineEdit>(S("txtCodeCCAM"))->setText(S("LHQK005"));
    m_messages->setProchaineSaisie(S("LHQK005"));
    m_journal.vider();

    controle<QPushButton>(bouton)->click();

    QVERIFY2(m_journal.entrees.contains(requete), qPrintable(m_journal.entrees.join(u'\n')));
    for (const QString& autre :
         {S("SelectionActe()"), S("LireModificateurs()"), S("LirePrix()"), S("LireModificateursActe()"),
          S("LireRegroupements()"), S("LireLibelleLong()"), S("LireActesCompatibles()")}) {
        if (autre != requete && autre != S("LireLibelle()"))
            QVERIFY2(!m_journal.entrees.contains(autre), qPrintable(bouton + S(" : ") + autre));
    }
}

void TestFrmInit::sourceDeLaSequenceLitLaFenetreAuMomentVoulu()
{
    const SourceContexteSequence source = sourceSequence(m_fenetre->controles());
    m_fenetre->controles().DTPicker1->setDate(QDate(2024, 3, 5));
    m_fenetre->controles().CboGrille->setCurrentIndex(2);

    QCOMPARE(source.dateReference(), QStringLiteral("20240305"));
    QCOMPARE(source.grilleTarifaire(), QStringLiteral("002"));
}

// The real wiring of the hidden button, down to the library call: the price step gets this window's date and
// grid as the operator left them, not values of another window or of the load.
void TestFrmInit::command3LitLaDateEtLaGrilleDeCetteFenetre()
{
    using FonctionReinitialiser = void (*)();
    using FonctionJournal = int32_t (*)(char* tampon, int32_t taille);
    QLibrary fautive(QStringLiteral(CHEMIN_TARVO_FAUTIF));
    QVERIFY2(fautive.load(), qPrintable(fautive.errorString()));
    const auto reinitialiser =
        reinterpret_cast<FonctionReinitialiser>(fautive.resolve("Fautif_Reinitialiser"));
    const auto journal = reinterpret_cast<FonctionJournal>(fautive.resolve("Fautif_Journal"));
    QVERIFY(reinitialiser && journal);
    tarvo::definirCheminBibliotheque(QStringLiteral(CHEMIN_TARVO_FAUTIF));
    reinitialiser();

    m_fenetre = std::make_unique<FrmInit>(*m_messages, fabrique(), m_sonde, commandesFrmInit(appelsTarvo()));
    m_fenetre->charger();
    m_fenetre->controles().DTPicker1->setDate(QDate(2024, 3, 5));
    m_fenetre->controles().CboGrille->setCurrentIndex(2);
    controle<QPushButton>(QStringLiteral("Command3"))->click();
    tarvo::definirCheminBibliotheque(QString());

    QByteArray tampon(1 << 16, '\0');
    const int32_t longueur = journal(tampon.data(), static_cast<int32_t>(tampon.size()));
    const QStringList appels =
        QString::fromUtf8(tampon.constData(), longueur).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(appels.size(), 7);
    QCOMPARE(appels.at(2).section(QLatin1Char(' '), 0, 0),
             QStringLiteral("GetPrixUnitaireActeSupplement_Tarvo(JLNL001,1,0,20240305,002)"));
}

void TestFrmInit::zonesEnLectureSeule_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("modifiable");

    QTest::newRow("TxtPrix") << "TxtPrix" << false;
    QTest::newRow("TxtRegroupement") << "TxtRegroupement" << false;
    QTest::newRow("txtCodeCCAM accepte la saisie") << "txtCodeCCAM" << true;
    QTest::newRow("TXTCheminSESAM accepte la saisie") << "TXTCheminSESAM" << true;
}

void TestFrmInit::zonesEnLectureSeule()
{
    QFETCH(QString, nom);
    QFETCH(bool, modifiable);
    afficher();
    auto* zone = controle<QLineEdit>(nom);
    zone->setText(QStringLiteral("12,50"));
    zone->setFocus();

    QTest::keyClick(zone, Qt::Key_End);
    QTest::keyClicks(zone, QStringLiteral("99"));
    QCOMPARE(zone->text(), modifiable ? QStringLiteral("12,5099") : QStringLiteral("12,50"));

    QApplication::clipboard()->clear();
    QTest::keyClick(zone, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(zone, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), zone->text());
}

void TestFrmInit::listesRefusentLeTexteTape_data()
{
    QTest::addColumn<QString>("nom");
    for (const char* nom : {"CboGrille", "cboMod", "cboModAct1", "cboModAct4", "cboModAct5"})
        QTest::newRow(nom) << QString::fromLatin1(nom);
}

void TestFrmInit::listesRefusentLeTexteTape()
{
    QFETCH(QString, nom);
    afficher();
    auto* liste = controle<QComboBox>(nom);
    if (liste->count() == 0)
        liste->addItems({QStringLiteral("7|A"), QStringLiteral("8|B")});
    liste->setCurrentIndex(1);
    const QString avant = liste->currentText();
    liste->setFocus();

    QTest::keyClicks(liste, QStringLiteral("zzz"));

    QVERIFY(!liste->isEditable());
    QCOMPARE(liste->currentText(), avant);
}

void TestFrmInit::quitterEtCaseDeFermeture_data()
{
    QTest::addColumn<bool>("parQuitter");
    QTest::newRow("Quitter") << true;
    QTest::newRow("case de fermeture") << false;
}

void TestFrmInit::quitterEtCaseDeFermeture()
{
    QFETCH(bool, parQuitter);
    afficher();
    m_fenetre->controles().txtCodeCCAM->setText(QStringLiteral("ABCD001"));
    m_fenetre->controles().TxtPrix->setText(QStringLiteral("12,50"));
    int fermetures = 0;
    FiltreFermeture filtre(&fermetures);
    m_fenetre->installEventFilter(&filtre);

    if (parQuitter)
        QTest::mouseClick(controle<QPushButton>(QStringLiteral("cmdQuitter")), Qt::LeftButton);
    else
        QVERIFY(m_fenetre->close());

    // Closed, not merely hidden: with no other window left, the application quits.
    QCOMPARE(fermetures, 1);
    QVERIFY(!m_fenetre->isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QCOMPARE(m_messages->messages.size(), 0); // nothing asked
    QCOMPARE(m_journal.entrees, QStringList());
}

void TestFrmInit::commandesSansChevauchement_data()
{
    QTest::addColumn<QString>("intrus"); // the button pressed while the first command runs
    QTest::addColumn<bool>("premiereEchoue");
    QTest::newRow("une autre commande") << S("Command1") << false;
    QTest::newRow("la même commande") << S("cmdSelectActeCCAM") << false;
    QTest::newRow("Quitter") << S("cmdQuitter") << false;
    QTest::newRow("une autre commande, la première en échec") << S("Command1") << true;
}

// A command started while another runs does nothing, "Quitter" included; once the first has ended, its
// failure report included, the next runs.
void TestFrmInit::commandesSansChevauchement()
{
    QFETCH(QString, intrus);
    QFETCH(bool, premiereEchoue);
    afficher();
    bool enCoursVu = false;
    m_gestionnaire = [&](const QString& bouton, const ContexteCommande&) {
        if (bouton != S("cmdSelectActeCCAM"))
            return;
        enCoursVu = m_fenetre->commandeEnCours();
        controle<QPushButton>(intrus)->click();
        if (premiereEchoue)
            throw Echec(Echec::EchecComposant, S("échec"));
    };

    controle<QPushButton>(S("cmdSelectActeCCAM"))->click();

    QVERIFY(enCoursVu);
    QCOMPARE(m_journal.entrees.first(), S("cmdSelectActeCCAM"));
    QCOMPARE(m_journal.entrees.count(S("cmdSelectActeCCAM")), 1);
    QVERIFY(!m_journal.entrees.contains(S("Command1")));
    QVERIFY(m_fenetre->isVisible());
    QCOMPARE(m_messages->messages.size(), premiereEchoue ? 1 : 0);
    QVERIFY(!m_fenetre->commandeEnCours());
    m_journal.vider();
    controle<QPushButton>(S("Command1"))->click();
    QCOMPARE(m_journal.entrees, QStringList{S("Command1")});
}

void TestFrmInit::nomsAccessibles_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("accessible");

    QTest::newRow("txtCodeCCAM") << "txtCodeCCAM"
                                 << "Acte CCAM :";
    QTest::newRow("TXTCheminSESAM") << "TXTCheminSESAM"
                                    << "Chemin du Sesam.ini";
    QTest::newRow("DTPicker1") << "DTPicker1"
                               << "Date de Référence :";
    QTest::newRow("CboGrille") << "CboGrille"
                               << "Grille Tarifaire :";
    QTest::newRow("cboModAct4") << "cboModAct4"
                                << "Modificateurs Activité 4 :";
    QTest::newRow("TxtPrix, espaces intérieurs gardés") << "TxtPrix"
                                                        << "Prix de l'acte  :";
    QTest::newRow("TxtActivite, espace final ôté") << "TxtActivite"
                                                   << "Code Activité";
    QTest::newRow("cmdQuitter") << "cmdQuitter"
                                << "Quitter";
    QTest::newRow("Command7") << "Command7"
                              << "Test Liste des Actes Comptatibles";
    QTest::newRow("cmdSelectActeCCAM sans légende") << "cmdSelectActeCCAM"
                                                    << "Sélectionner un acte CCAM";
}

void TestFrmInit::nomsAccessibles()
{
    QFETCH(QString, nom);
    QFETCH(QString, accessible);

    QWidget* w = controle<QWidget>(nom);
    QCOMPARE(w->accessibleName(), accessible);
    QCOMPARE(nomAnnonce(w), accessible);
}

void TestFrmInit::toutControleAtteignableEstNomme()
{
    for (const DescriptionControle& d : TableFrmInit::controles()) {
        if (!d.recoitLeFocus())
            continue;
        QAccessibleInterface* interface =
            QAccessible::queryAccessibleInterface(controle<QWidget>(d.nom.toString()));
        QVERIFY2(interface && !interface->text(QAccessible::Name).isEmpty(), qPrintable(d.nom.toString()));
    }
    QCOMPARE(controle<QPushButton>(QStringLiteral("cmdSelectActeCCAM"))->toolTip(),
             QStringLiteral("Sélectionner un acte CCAM"));
    QCOMPARE(controle<QLineEdit>(QStringLiteral("TxtNoDents"))->accessibleDescription(),
             QStringLiteral("(Séparées par  Virgule)"));
}

void TestFrmInit::echecEnCommande_data()
{
    QTest::addColumn<bool>("exceptionStandard");
    QTest::addColumn<QString>("rapport");

    QTest::newRow("membre du contrôle en échec")
        << false << QStringLiteral("Erreur 440 : Échec simulé de SelectionActe");
    QTest::newRow("exception standard") << true << QStringLiteral("Erreur 51 : valeur inconvertible");
}

void TestFrmInit::echecEnCommande()
{
    QFETCH(bool, exceptionStandard);
    QFETCH(QString, rapport);
    afficher();
    m_ctlTarvo1->echecs.insert(DispId::SelectionActe);
    bool fenetreOuverteDuRapport = false;
    m_messages->pendantMessage = [&](const ServiceMessagesScripte::Message&) {
        fenetreOuverteDuRapport = m_fenetre->isVisible();
    };
    m_gestionnaire = [&](const QString&, const ContexteCommande& contexte) {
        contexte.ctlTarvo1.ecrire(DispId::SRTSeulement, qint32(0));
        contexte.fenetre.txtCodeCCAM->setText(QStringLiteral("ABCD001"));
        if (exceptionStandard)
            throw std::runtime_error("valeur inconvertible");
        contexte.ctlTarvo1.appeler(DispId::SelectionActe);
        contexte.fenetre.TxtPrix->setText(QStringLiteral("jamais écrit"));
    };

    QTest::keyClick(controle<QPushButton>(QStringLiteral("Command1")), Qt::Key_Space);

    QStringList attendu{QStringLiteral("Command1"), QStringLiteral("SRTSeulement <- 0")};
    if (!exceptionStandard)
        attendu << QStringLiteral("SelectionActe()");
    attendu << QStringLiteral("message[Banc d'essai CCAM|Critique] ") + rapport;
    QCOMPARE(m_journal.entrees, attendu);
    QCOMPARE(m_fenetre->controles().txtCodeCCAM->text(), QStringLiteral("ABCD001"));
    QCOMPARE(m_fenetre->controles().TxtPrix->text(), QString());
    QVERIFY(fenetreOuverteDuRapport);
    QVERIFY(m_fenetre->isVisible());

    // Back to idle: the next click runs again.
    m_journal.vider();
    m_gestionnaire = nullptr;
    controle<QPushButton>(QStringLiteral("Command2"))->click();
    QCOMPARE(m_journal.entrees, QStringList{QStringLiteral("Command2")});
}

void TestFrmInit::demarrageEnEchec_data()
{
    QTest::addColumn<int>("cas");
    QTest::addColumn<QString>("rapport");

    QTest::newRow("sonde du système en échec au chargement")
        << 0 << QStringLiteral("Erreur 440 : Environnement illisible");
    QTest::newRow("contrôle non créé")
        << 1 << QStringLiteral("Erreur 429 : Le contrôle ctlTarvo1 n'a pas pu être créé");
    QTest::newRow("fabrique en échec") << 2 << QStringLiteral("Erreur 440 : LecTarvo absent");
}

void TestFrmInit::demarrageEnEchec()
{
    QFETCH(int, cas);
    QFETCH(QString, rapport);
    m_fenetre.reset();
    m_sonde.echoue = cas == 0;
    FabriqueControle fabriqueEnCas = fabrique();
    if (cas == 1)
        fabriqueEnCas = [](QWidget*) {
            return std::unique_ptr<ControleDispatch>();
        };
    if (cas == 2)
        fabriqueEnCas = [](QWidget*) -> std::unique_ptr<ControleDispatch> {
            throw Echec(Echec::EchecComposant, QStringLiteral("LecTarvo absent"));
        };
    int fenetresMontrees = 0;
    m_messages->pendantMessage = [&](const ServiceMessagesScripte::Message&) {
        const auto fenetres = QApplication::topLevelWidgets();
        for (QWidget* w : fenetres)
            fenetresMontrees += w->isVisible() ? 1 : 0;
    };

    const std::unique_ptr<FrmInit> fenetre =
        demarrerFrmInit(*m_messages, fabriqueEnCas, m_sonde, commandesFrmInit(appelsTarvo()));

    QVERIFY(!fenetre);
    QCOMPARE(m_messages->messages.size(), 1);
    QCOMPARE(m_messages->messages[0].texte, rapport);
    QCOMPARE(m_messages->messages[0].titre, Titre);
    QCOMPARE(m_messages->messages[0].icone, IconeMessage::Critique);
    QCOMPARE(fenetresMontrees, 0);
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void TestFrmInit::demarrageReussi()
{
    m_fenetre.reset();
    const std::unique_ptr<FrmInit> fenetre =
        demarrerFrmInit(*m_messages, fabrique(), m_sonde, commandesFrmInit(appelsTarvo()));

    QVERIFY(fenetre);
    QVERIFY(fenetre->isVisible());
    QCOMPARE(fenetre->controles().CboGrille->currentText(), QStringLiteral("001"));
    QCOMPARE(fenetre->controles().TXTCheminSESAM->text(), QStringLiteral("C:\\ProgramData") + Fin);
    QCOMPARE(m_messages->messages.size(), 0);
}

QTEST_MAIN(TestFrmInit)
#include "tst_frminit.moc"
