#include "frminit.h"

#include "echec.h"
#include "icones.h"
#include "listelignes.h"
#include "rapportechec.h"
#include "selecteurdate.h"
#include "tablecontroles.h"
#include "utils.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <qdrawutil.h>
#include <stdexcept>
#include <vector>

namespace {

// A frame whose edge runs at half the font's height, as a captionless group box is drawn, so a
// check box placed across it (Top -75) reads as the frame's title.
class CadreFenetre final : public QFrame
{
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override
    {
        // Drawn by hand: styles reserve room above the edge for a caption this frame has not.
        QPainter peintre(this);
        const QRect bord = rect().adjusted(0, fontMetrics().height() / 2, -1, -1);
        qDrawShadeRect(&peintre, bord, palette(), true, 1, 0);
    }
};

QFont policeDe(Police police, const QFont& policeFenetre)
{
    if (police == Police::Fenetre)
        return policeFenetre;
    QFont resultat(QStringLiteral("Arial"));
    resultat.setPointSize(9);
    resultat.setBold(police == Police::GrasItalique);
    resultat.setItalic(police == Police::GrasItalique || police == Police::Italique);
    return resultat;
}

Qt::Alignment alignementDe(Alignement alignement)
{
    switch (alignement) {
    case Alignement::Gauche:
        return Qt::AlignLeft;
    case Alignement::Centre:
        return Qt::AlignHCenter;
    case Alignement::Droite:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QWidget* creerControle(const DescriptionControle& d, QWidget* parent)
{
    const QString texte = d.texte.toString();
    switch (d.genre) {
    case GenreControle::Etiquette: {
        auto* etiquette = new QLabel(texte, parent);
        etiquette->setAlignment(alignementDe(d.alignement) | Qt::AlignTop);
        etiquette->setTextFormat(Qt::PlainText);
        return etiquette;
    }
    case GenreControle::Zone:
    case GenreControle::ZoneLectureSeule: {
        auto* zone = new QLineEdit(parent);
        // No limit of the box's own: a long path or pasted text is kept whole.
        zone->setMaxLength(std::numeric_limits<int>::max());
        zone->setText(texte);
        zone->setCursorPosition(0);
        zone->setAlignment(alignementDe(d.alignement) | Qt::AlignVCenter);
        zone->setReadOnly(d.genre == GenreControle::ZoneLectureSeule);
        return zone;
    }
    case GenreControle::ZoneMultiligne: {
        auto* zone = new QPlainTextEdit(texte, parent);
        zone->setTabChangesFocus(true);
        return zone;
    }
    case GenreControle::ListeDeroulante: {
        auto* liste = new QComboBox(parent);
        liste->setEditable(false);
        if (!texte.isEmpty())
            liste->addItems(texte.split(QLatin1Char('\n')));
        liste->setCurrentIndex(-1); // nothing selected until the load picks an entry
        return liste;
    }
    case GenreControle::Calendrier: {
        auto* date = new SelecteurDate(parent);
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        // The calendar's month and day names in French whatever the operator's locale, which still reads
        // the numbers; weeks start on Monday.
        date->calendarWidget()->setLocale(QLocale(QLocale::French, QLocale::France));
        return date;
    }
    case GenreControle::ListeSimple: {
        auto* liste = new ListeLignes(parent);
        liste->setModel(new QStringListModel(liste));
        return liste;
    }
    case GenreControle::Cadre:
        return new CadreFenetre(parent);
    case GenreControle::CaseACocher: {
        auto* caseACocher = new QCheckBox(texte, parent);
        caseACocher->setAutoFillBackground(true); // hides the frame's edge behind the title
        return caseACocher;
    }
    case GenreControle::Bouton:
    case GenreControle::BoutonImage:
    case GenreControle::BoutonCache: {
        auto* bouton = new QPushButton(texte, parent);
        bouton->setAutoDefault(true); // Enter on the focused button clicks it, as Space does
        if (d.genre == GenreControle::BoutonImage) {
            bouton->setIcon(iconeSelectionActe());
            const int cote = std::min(32, d.rectanglePixels().height() - 4);
            bouton->setIconSize(QSize(cote, cote));
        }
        if (d.genre == GenreControle::BoutonCache)
            bouton->hide();
        return bouton;
    }
    }
    throw std::logic_error("genre de contrôle inconnu");
}

template<typename T> T* trouver(const QWidget& fenetre, const char16_t* nom)
{
    auto* controle = fenetre.findChild<T*>(QString::fromUtf16(nom));
    if (!controle)
        throw std::logic_error("contrôle absent de la table de la fenêtre");
    return controle;
}

} // namespace

FrmInit::FrmInit(ServiceMessages& messages, const FabriqueControle& fabrique, const SondeSysteme& sonde,
                 const CommandesFrmInit& commandes, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_messages(messages)
    , m_sonde(sonde)
{
    setObjectName(TableFrmInit::Nom.toString());
    setWindowTitle(TableFrmInit::Titre.toString());
    setWindowIcon(iconeFrmInit());
    QFont police(QStringLiteral("Arial"));
    police.setPointSize(8);
    setFont(police);
    setFixedSize(
        rectangleDepuisTwips(0, 0, TableFrmInit::LargeurClientTwips, TableFrmInit::HauteurClientTwips)
            .size());

    construireControles();
    nommerPourAccessibilite();
    ordonnerTabulation();
    relierBoutons(commandes);

    m_ctlTarvo1 = fabrique ? fabrique(this) : nullptr;
    if (!m_ctlTarvo1)
        throw Echec(Echec::CreationImpossible, QStringLiteral("Le contrôle ctlTarvo1 n'a pas pu être créé"));

    centrer();
}

void FrmInit::centrer()
{
    const QScreen* ecran = screen();
    if (ecran == nullptr)
        return;
    // The frame is known only once the system window exists; before that the client area stands for it.
    const QMargins cadre = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    move(positionCentree(ecran->availableGeometry(), size(), cadre));
}

void FrmInit::showEvent(QShowEvent* evenement)
{
    QWidget::showEvent(evenement);
    if (m_centree)
        return;
    m_centree = true;
    // Centred again once shown, by the frame the system gave it; a window manager that frames the window
    // later is caught by the queued second pass. Only the first showing: the operator may move it since.
    centrer();
    QTimer::singleShot(0, this, [this] { centrer(); });
}

void FrmInit::closeEvent(QCloseEvent* evenement)
{
    // "Quitter" reached from inside a command (a control's own dialog leaves the window clickable) would
    // destroy the control under the call still running in it.
    if (m_commandeEnCours) {
        evenement->ignore();
        return;
    }
    QWidget::closeEvent(evenement);
}

FrmInit::~FrmInit() = default;

void FrmInit::construireControles()
{
    for (const DescriptionControle& d : TableFrmInit::controles()) {
        QWidget* conteneur = this;
        if (!d.conteneur.isEmpty())
            conteneur = findChild<QWidget*>(d.conteneur.toString(), Qt::FindDirectChildrenOnly);
        if (!conteneur)
            throw std::logic_error("cadre créé après son contenu dans la table de la fenêtre");
        QWidget* controle = creerControle(d, conteneur);
        controle->setObjectName(d.nom.toString());
        controle->setGeometry(d.rectanglePixels());
        controle->setFont(policeDe(d.police, font()));
        controle->setFocusPolicy(d.recoitLeFocus() ? Qt::StrongFocus : Qt::NoFocus);
    }

    m_controles.frmInit = this;
    m_controles.chkSRT = trouver<QCheckBox>(*this, u"chkSRT");
    m_controles.CboGrille = trouver<QComboBox>(*this, u"CboGrille");
    m_controles.txtSpecialite = trouver<QLineEdit>(*this, u"txtSpecialite");
    m_controles.txtCodeCCAM = trouver<QLineEdit>(*this, u"txtCodeCCAM");
    m_controles.DTPicker1 = trouver<QDateEdit>(*this, u"DTPicker1");
    m_controles.TXTCheminSESAM = trouver<QLineEdit>(*this, u"TXTCheminSESAM");
    m_controles.TxtLibCourt = trouver<QLineEdit>(*this, u"TxtLibCourt");
    m_controles.TextLiblong = trouver<QPlainTextEdit>(*this, u"TextLiblong");
    m_controles.cboMod = trouver<QComboBox>(*this, u"cboMod");
    m_controles.cboModAct1 = trouver<QComboBox>(*this, u"cboModAct1");
    m_controles.cboModAct4 = trouver<QComboBox>(*this, u"cboModAct4");
    m_controles.cboModAct5 = trouver<QComboBox>(*this, u"cboModAct5");
    m_controles.TxtPrix = trouver<QLineEdit>(*this, u"TxtPrix");
    m_controles.TxtRegroupement = trouver<QLineEdit>(*this, u"TxtRegroupement");
    m_controles.txtLibCCAM = trouver<QLineEdit>(*this, u"txtLibCCAM");
    m_controles.txtLibLongCCAM = trouver<QLineEdit>(*this, u"txtLibLongCCAM");
    m_controles.List1 = trouver<QListView>(*this, u"List1");
}

void FrmInit::nommerPourAccessibilite()
{
    // A label's trailing spaces are invisible on screen, so they are not read out either.
    const auto legende = [this](QStringView etiquette) {
        auto* label = findChild<QLabel*>(etiquette.toString());
        if (!label)
            throw std::logic_error("étiquette absente de la table de la fenêtre");
        QString texte = label->text();
        while (texte.endsWith(QLatin1Char(' ')))
            texte.chop(1);
        return std::pair{label, texte};
    };
    for (const DescriptionControle& d : TableFrmInit::controles()) {
        auto* controle = findChild<QWidget*>(d.nom.toString());
        if (!d.etiquette.isEmpty()) {
            const auto [label, texte] = legende(d.etiquette);
            label->setBuddy(controle);
            controle->setAccessibleName(texte);
        } else if (!d.nomAccessible.isEmpty()) {
            controle->setAccessibleName(d.nomAccessible.toString());
        } else if (qobject_cast<QPushButton*>(controle)) {
            controle->setAccessibleName(d.texte.toString());
        }
        if (d.genre == GenreControle::BoutonImage)
            controle->setToolTip(d.nomAccessible.toString());
        if (!d.note.isEmpty())
            controle->setAccessibleDescription(legende(d.note).second);
    }
}

void FrmInit::ordonnerTabulation()
{
    std::vector<const DescriptionControle*> ordre;
    for (const DescriptionControle& d : TableFrmInit::controles()) {
        if (d.recoitLeFocus())
            ordre.push_back(&d);
    }
    std::stable_sort(ordre.begin(), ordre.end(),
                     [](const DescriptionControle* a, const DescriptionControle* b) {
                         return a->tabulation < b->tabulation;
                     });
    for (std::size_t i = 1; i < ordre.size(); ++i) {
        QWidget::setTabOrder(findChild<QWidget*>(ordre[i - 1]->nom.toString()),
                             findChild<QWidget*>(ordre[i]->nom.toString()));
    }
    // The lowest tab index takes the focus when the window first becomes active.
    if (!ordre.empty())
        findChild<QWidget*>(ordre.front()->nom.toString())->setFocus(Qt::OtherFocusReason);
}

void FrmInit::relierBoutons(const CommandesFrmInit& commandes)
{
    connect(trouver<QPushButton>(*this, u"cmdQuitter"), &QPushButton::clicked, this, &QWidget::close);
    for (auto it = commandes.cbegin(); it != commandes.cend(); ++it) {
        auto* bouton = findChild<QPushButton*>(it.key());
        if (!bouton)
            throw std::logic_error("bouton absent de la table de la fenêtre");
        connect(bouton, &QPushButton::clicked, this, [this, bouton = it.key(), gestionnaire = it.value()] {
            lancerCommande(bouton, gestionnaire);
        });
    }
}

void FrmInit::lancerCommande(const QString& bouton, const GestionnaireCommande& gestionnaire)
{
    // Commands never overlap: a click that reaches the window while one runs (from a nested event loop, a
    // control's dialog among them) starts nothing.
    if (m_commandeEnCours)
        return;
    const QScopedValueRollback enCours(m_commandeEnCours, true);
    const ContexteCommande contexte{m_controles, *m_ctlTarvo1, m_messages, m_sonde};
    if (m_suivi)
        m_suivi->commandeCommencee(bouton);
    const bool aboutie = executerCommande(m_messages, [&] { gestionnaire(contexte); });
    if (m_suivi)
        m_suivi->commandeTerminee(bouton, aboutie);
}

void FrmInit::charger()
{
    m_controles.CboGrille->setCurrentIndex(1);
    // Set as a date: a round trip through "DD/MM/YYYY" text would be read back by the locale's
    // parser, which takes the day for the month where the locale orders them the other way.
    m_controles.DTPicker1->setDate(QDate::currentDate());
    m_controles.TXTCheminSESAM->setText(Utils::repertoireConfiguration(m_sonde));
    m_controles.TXTCheminSESAM->setCursorPosition(0);
}
