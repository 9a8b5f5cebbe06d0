#include "dialogueselectionacte.h"

#include "actesmasques.h"
#include "modelechapitres.h"
#include "modeleresultats.h"
#include "nomsselectionacte.h"
#include "reponsesacte.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Only the long label wraps: a wrapping label costs a text layout per width the form tries, on every
// keystroke, since the highlighted act follows the typing.
QLabel* etiquetteDetail(const QString& nom, QWidget* parent, bool aLaLigne = false)
{
    auto* etiquette = new QLabel(parent);
    etiquette->setObjectName(nom);
    etiquette->setWordWrap(aLaLigne);
    etiquette->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long text must not widen the details pane and push the splitter: it is cut, and whole in its
    // tooltip.
    if (!aLaLigne)
        etiquette->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return etiquette;
}

QString dateLisible(const QString& aaaammjj)
{
    const QDate date = QDate::fromString(aaaammjj, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : aaaammjj;
}

QString euros(qint64 centimes)
{
    return QLocale(QLocale::French, QLocale::France)
        .toCurrencyString(double(centimes) / 100.0, QStringLiteral("€"));
}

} // namespace

DialogueSelectionActe::DialogueSelectionActe(const MagasinCcam& magasin, ContexteRequete contexte,
                                             const QString& codeInitial, QWidget* parent)
    : QDialog(parent)
    , m_magasin(magasin)
    , m_contexte(std::move(contexte))
{
    setObjectName(NomsSelectionActe::dlgSelectionActe);
    setWindowTitle(QStringLiteral("Sélection d'un acte CCAM"));
    setModal(true);

    // Built in the order the operator meets the widgets: the focus chain follows it.
    auto* contexteTexte = new QLabel(texteContexte(), this);
    contexteTexte->setObjectName(NomsSelectionActe::lblContexte);
    contexteTexte->setWordWrap(true);
    QHBoxLayout* ligneRecherche = construireRecherche();
    construireVues();
    QGroupBox* details = construireDetails();

    m_partage = new QSplitter(this);
    m_partage->setObjectName(NomsSelectionActe::splSelection);
    m_partage->addWidget(m_onglets);
    m_partage->addWidget(details);
    m_partage->setStretchFactor(0, 3);
    m_partage->setStretchFactor(1, 2);

    construireBoutons();

    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(contexteTexte);
    disposition->addLayout(ligneRecherche);
    disposition->addWidget(m_masques);
    disposition->addWidget(m_partage, 1);
    disposition->addWidget(m_boutons);
    resize(900, 560);

    relierSignaux();
    surligner({});
    ouvrirSur(codeInitial);
    m_recherche->setFocus();
}

QHBoxLayout* DialogueSelectionActe::construireRecherche()
{
    auto* invite = new QLabel(QStringLiteral("&Rechercher :"), this);
    invite->setObjectName(NomsSelectionActe::lblRecherche);
    m_recherche = new QLineEdit(this);
    m_recherche->setObjectName(NomsSelectionActe::txtRecherche);
    m_recherche->setPlaceholderText(QStringLiteral("Début du code ou mots du libellé"));
    m_recherche->setClearButtonEnabled(true);
    m_recherche->installEventFilter(this);
    invite->setBuddy(m_recherche);
    m_compte = new QLabel(this);
    m_compte->setObjectName(NomsSelectionActe::lblNombreResultats);
    // A fixed width keeps the count from re-laying out the whole dialog on each keystroke.
    m_compte->setFixedWidth(
        m_compte->fontMetrics().horizontalAdvance(QStringLiteral("200 premiers actes  ")));
    m_compte->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_masques = new QLabel(this);
    m_masques->setObjectName(NomsSelectionActe::lblActesMasques);
    // Always one line high, empty or not, so that the hint coming and going moves nothing.
    m_masques->setMinimumHeight(m_masques->fontMetrics().height());
    m_masques->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_minuterieMasques = new QTimer(this);
    m_minuterieMasques->setSingleShot(true);
    m_minuterieMasques->setInterval(delaiMasquesMs);
    connect(m_minuterieMasques, &QTimer::timeout, this, &DialogueSelectionActe::signalerMasques);

    auto* ligne = new QHBoxLayout;
    ligne->addWidget(invite);
    ligne->addWidget(m_recherche, 1);
    ligne->addWidget(m_compte);
    return ligne;
}

void DialogueSelectionActe::construireVues()
{
    m_modeleResultats = new ModeleResultats(this);
    m_resultats = new QListView(this);
    m_resultats->setObjectName(NomsSelectionActe::lstResultats);
    m_resultats->setModel(m_modeleResultats);
    m_resultats->setUniformItemSizes(true);
    m_resultats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_resultats->setSelectionMode(QAbstractItemView::SingleSelection);

    m_modeleChapitres = new ModeleChapitres(m_magasin, m_contexte, this);
    m_chapitres = new QTreeView(this);
    m_chapitres->setObjectName(NomsSelectionActe::arbreChapitres);
    m_chapitres->setModel(m_modeleChapitres);
    m_chapitres->setHeaderHidden(true);
    m_chapitres->setUniformRowHeights(true);
    m_chapitres->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_chapitres->setSelectionMode(QAbstractItemView::SingleSelection);

    m_onglets = new QTabWidget(this);
    m_onglets->setObjectName(NomsSelectionActe::ongletsSelection);
    m_onglets->addTab(m_resultats, QStringLiteral("Résultats"));
    m_onglets->addTab(m_chapitres, QStringLiteral("Chapitres"));
}

QGroupBox* DialogueSelectionActe::construireDetails()
{
    auto* details = new QGroupBox(QStringLiteral("Acte surligné"), this);
    details->setObjectName(NomsSelectionActe::fraDetails);
    m_code = etiquetteDetail(NomsSelectionActe::lblCodeActe, details);
    m_libelle = etiquetteDetail(NomsSelectionActe::lblLibelleActe, details, true);
    m_validite = etiquetteDetail(NomsSelectionActe::lblValidite, details);
    m_activites = etiquetteDetail(NomsSelectionActe::lblActivites, details);
    m_prix = etiquetteDetail(NomsSelectionActe::lblPrixActe, details);
    m_regroupement = etiquetteDetail(NomsSelectionActe::lblRegroupement, details);
    auto* formulaire = new QFormLayout(details);
    formulaire->addRow(QStringLiteral("Code :"), m_code);
    formulaire->addRow(QStringLiteral("Libellé :"), m_libelle);
    formulaire->addRow(QStringLiteral("Validité :"), m_validite);
    formulaire->addRow(QStringLiteral("Activités :"), m_activites);
    formulaire->addRow(QStringLiteral("Prix :"), m_prix);
    formulaire->addRow(QStringLiteral("Regroupement :"), m_regroupement);
    return details;
}

void DialogueSelectionActe::construireBoutons()
{
    m_boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_boutons->setObjectName(NomsSelectionActe::boutons);
    QPushButton* ok = m_boutons->button(QDialogButtonBox::Ok);
    ok->setObjectName(NomsSelectionActe::cmdChoisir);
    ok->setText(QStringLiteral("Choisir"));
    ok->setDefault(true);
    QPushButton* annuler = m_boutons->button(QDialogButtonBox::Cancel);
    annuler->setObjectName(NomsSelectionActe::cmdAnnuler);
    annuler->setText(QStringLiteral("Annuler"));
}

void DialogueSelectionActe::relierSignaux()
{
    connect(m_recherche, &QLineEdit::textChanged, this, &DialogueSelectionActe::rechercher);
    connect(m_resultats->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& courant) {
                if (m_onglets->currentWidget() == m_resultats)
                    surligner(courant.data(ModeleResultats::RoleCode).toString());
            });
    connect(m_chapitres->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& courant) {
                if (m_onglets->currentWidget() == m_chapitres)
                    surligner(courant.data(ModeleChapitres::RoleCode).toString());
            });
    connect(m_onglets, &QTabWidget::currentChanged, this, [this] {
        const bool arbre = m_onglets->currentWidget() == m_chapitres;
        const QModelIndex courant = arbre ? m_chapitres->currentIndex() : m_resultats->currentIndex();
        surligner(
            courant.data(arbre ? int(ModeleChapitres::RoleCode) : int(ModeleResultats::RoleCode)).toString());
    });
    // Enter reaches the default button from the views and the search field alike; double-click is ours.
    connect(m_resultats, &QAbstractItemView::doubleClicked, this, &DialogueSelectionActe::choisir);
    connect(m_chapitres, &QAbstractItemView::doubleClicked, this, &DialogueSelectionActe::choisir);
    connect(m_boutons, &QDialogButtonBox::accepted, this, [this] {
        if (!m_codeSurligne.isEmpty())
            accept();
    });
    connect(m_boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void DialogueSelectionActe::ouvrirSur(const QString& codeInitial)
{
    const QString initial = codeInitial.trimmed();
    if (initial.isEmpty())
        return;
    const auto acte = m_magasin.acte(initial);
    m_recherche->setText(acte ? acte->code : initial);
    if (!acte)
        return;
    const int ligne = m_modeleResultats->ligneDe(acte->code);
    if (ligne >= 0)
        m_resultats->setCurrentIndex(m_modeleResultats->index(ligne));
    reveler(acte->code);
}

DialogueSelectionActe::~DialogueSelectionActe() = default;

bool DialogueSelectionActe::eventFilter(QObject* objet, QEvent* evenement)
{
    // The arrows move through the results without leaving the search field.
    if (objet == m_recherche && evenement->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(evenement)->key();
        if (touche == Qt::Key_Up || touche == Qt::Key_Down || touche == Qt::Key_PageUp ||
            touche == Qt::Key_PageDown) {
            m_onglets->setCurrentWidget(m_resultats);
            QKeyEvent copie(QEvent::KeyPress, touche, static_cast<QKeyEvent*>(evenement)->modifiers());
            QCoreApplication::sendEvent(m_resultats, &copie);
            return true;
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

void DialogueSelectionActe::rechercher(const QString& texte)
{
    QList<Acte> actes;
    if (!texte.trimmed().isEmpty())
        actes = m_magasin.rechercher(texte, m_contexte, limiteResultats);
    const qsizetype nombre = actes.size();
    m_modeleResultats->remplacer(std::move(actes));
    if (texte.trimmed().isEmpty())
        m_compte->clear();
    else if (nombre >= limiteResultats)
        m_compte->setText(QStringLiteral("%1 premiers actes").arg(nombre));
    else
        m_compte->setText(nombre <= 1 ? QStringLiteral("%1 acte").arg(nombre)
                                      : QStringLiteral("%1 actes").arg(nombre));
    m_onglets->setCurrentWidget(m_resultats);
    if (nombre > 0)
        m_resultats->setCurrentIndex(m_modeleResultats->index(0));
    else
        surligner({});
    // The hint of the last text stays until the new count is in, unless there is no text to count for.
    if (texte.trimmed().isEmpty()) {
        m_minuterieMasques->stop();
        m_masques->clear();
    } else {
        m_minuterieMasques->start();
    }
}

void DialogueSelectionActe::signalerMasques()
{
    const QString texte = m_recherche->text();
    const QString note = texte.trimmed().isEmpty()
                             ? QString()
                             : texteActesMasques(m_magasin.masquesRecherche(texte, m_contexte), m_contexte);
    m_masques->setText(note);
    m_masques->setToolTip(note);
}

void DialogueSelectionActe::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    // Laid out once by the stretch factors, then the splitter keeps its place: the details changing with
    // each keystroke no longer move it, only the operator does.
    if (!m_partagePose) {
        m_partagePose = true;
        const int largeur = m_partage->width();
        m_partage->setSizes({largeur * 3 / 5, largeur - largeur * 3 / 5});
    }
}

void DialogueSelectionActe::surligner(const QString& code)
{
    if (code == m_codeSurligne && !code.isEmpty())
        return;
    m_codeSurligne = code;
    m_boutons->button(QDialogButtonBox::Ok)->setEnabled(!code.isEmpty());
    afficherDetails();
}

void DialogueSelectionActe::afficherDetails()
{
    const auto acte = m_codeSurligne.isEmpty() ? std::nullopt : m_magasin.acte(m_codeSurligne);
    if (!acte) {
        for (QLabel* etiquette : {m_code, m_libelle, m_validite, m_activites, m_prix, m_regroupement}) {
            etiquette->clear();
            etiquette->setToolTip({});
        }
        return;
    }
    const ReponsesActe reponses(m_magasin, acte->code, m_contexte);
    m_code->setText(acte->code);
    m_libelle->setText(acte->libelleLong.isEmpty() ? acte->libelleCourt : acte->libelleLong);
    m_validite->setText(acte->dateFin.isEmpty()
                            ? QStringLiteral("depuis le %1").arg(dateLisible(acte->dateDebut))
                            : QStringLiteral("du %1 au %2 (exclu)")
                                  .arg(dateLisible(acte->dateDebut), dateLisible(acte->dateFin)));

    const QList<Activite> activites = m_magasin.activites(acte->code);
    QStringList lignes;
    for (const Activite& activite : activites) {
        QStringList phases;
        for (const Phase& phase : activite.phases) {
            const auto prix = m_magasin.prix(acte->code, activite.code, phase.code, m_contexte.grille,
                                             m_contexte.dateReference);
            phases << QStringLiteral("phase %1 : %2")
                          .arg(phase.code)
                          .arg(prix ? euros(*prix) : QStringLiteral("pas de tarif"));
        }
        QString ligne = QStringLiteral("%1 %2").arg(activite.code).arg(activite.libelle);
        if (!activite.regroupement.isEmpty())
            ligne += QStringLiteral(" [%1]").arg(activite.regroupement);
        if (!phases.isEmpty())
            ligne += QStringLiteral(" — ") + phases.join(QStringLiteral(", "));
        lignes << ligne;
    }
    m_activites->setText(lignes.join(QLatin1Char('\n')));

    const QString prix = reponses.prix();
    m_prix->setText(prix.isEmpty()
                        ? QStringLiteral("pas de tarif à cette date dans la grille %1").arg(m_contexte.grille)
                        : QStringLiteral("%1 (grille %2)").arg(euros(prix.toLongLong()), m_contexte.grille));
    // The regrouping code shown is the one CodeRegroupement answers: the first activity's.
    const auto regroupement =
        activites.isEmpty() ? std::nullopt : m_magasin.regroupement(acte->code, activites.constFirst().code);
    m_regroupement->setText(regroupement
                                ? QStringLiteral("%1 — %2").arg(regroupement->code, regroupement->libelle)
                                : reponses.codeRegroupement());
    for (QLabel* etiquette : {m_validite, m_activites, m_prix, m_regroupement})
        etiquette->setToolTip(etiquette->text());
}

void DialogueSelectionActe::choisir(const QModelIndex& index)
{
    const QString code = index
                             .data(index.model() == m_chapitres->model() ? int(ModeleChapitres::RoleCode)
                                                                         : int(ModeleResultats::RoleCode))
                             .toString();
    if (code.isEmpty() || !isVisible())
        return;
    m_codeSurligne = code;
    accept();
}

void DialogueSelectionActe::reveler(const QString& code)
{
    const QModelIndex index = m_modeleChapitres->reveler(code);
    if (!index.isValid())
        return;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        m_chapitres->expand(p);
    m_chapitres->setCurrentIndex(index);
    m_chapitres->scrollTo(index);
}

QString DialogueSelectionActe::texteContexte() const
{
    const QString date = m_contexte.dateReference.isEmpty()
                             ? QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))
                             : dateLisible(m_contexte.dateReference);
    QStringList parties;
    parties << QStringLiteral("Date de référence : %1").arg(date)
            << QStringLiteral("Grille %1").arg(m_contexte.grille);
    if (m_contexte.specialite != 0) {
        const QString libelle = m_magasin.libelleSpecialite(m_contexte.specialite);
        parties << (libelle.isEmpty()
                        ? QStringLiteral("Spécialité %1").arg(m_contexte.specialite)
                        : QStringLiteral("Spécialité %1 (%2)").arg(m_contexte.specialite).arg(libelle));
    }
    if (m_contexte.srtSeulement)
        parties << QStringLiteral("SRT uniquement");
    return parties.join(QStringLiteral(" — "));
}
