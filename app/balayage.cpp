#include "balayage.h"

#include "fenetrebanc.h"
#include "frminit.h"
#include "journalappels.h"
#include "journalisation.h"
#include "progressionbalayage.h"
#include "sortieconsole.h"
#include "statutbanc.h"
#include "suivisuperviseurjournal.h"
#include "superviseurbalayage.h"
#include "travailleur.h"
#include "vocabulairejournal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <optional>

namespace {

// Crashes or hangs in a row, no act answered between them, after which the control is given up.
constexpr int pannesDeSuite = 5;
// An act of five commands takes a millisecond or more: these keep the worker busy and end within the
// second Ctrl+C leaves them, even on a loaded machine.
constexpr qsizetype actesAvance = 128;

} // namespace

Balayage::Balayage(ParametresBalayage parametres, JournalAppels* journal)
    : m_parametres(std::move(parametres))
    , m_journal(journal)
{}

void Balayage::preparer(FrmInit& fenetre)
{
    ControlesFenetre& controles = fenetre.controles();
    if (m_parametres.date)
        controles.DTPicker1->setDate(*m_parametres.date);
    if (m_parametres.grille)
        controles.CboGrille->setCurrentIndex(controles.CboGrille->findText(*m_parametres.grille));
    if (m_parametres.srt)
        controles.chkSRT->setCheckState(Qt::Checked);
    fenetre.suivreCommandes(this);
    m_boutons.clear();
    for (const QString& nom : m_parametres.boutons)
        m_boutons.append(fenetre.findChild<QPushButton*>(nom));
    m_controles = &controles;
}

Balayage::Contexte Balayage::contexte(FrmInit& fenetre) const
{
    const ControlesFenetre& controles = fenetre.controles();
    return {controles.DTPicker1->date().toString(QStringLiteral("yyyyMMdd")),
            controles.CboGrille->currentText(), controles.chkSRT->checkState() == Qt::Checked};
}

int Balayage::balayerActe(const QString& code)
{
    const int echecsAvant = m_echecs;
    m_acte = code;
    if (m_journal)
        m_journal->etiqueter({{Champ::acte, code}});
    m_controles->txtCodeCCAM->setText(code);
    for (QPushButton* bouton : std::as_const(m_boutons))
        bouton->click();
    if (m_journal)
        m_journal->etiqueter({});
    ++m_actesFaits;
    if (m_progression)
        m_progression(m_actesFaits);
    return m_echecs - echecsAvant;
}

void Balayage::terminer(FrmInit& fenetre)
{
    fenetre.suivreCommandes(m_suivi);
    m_controles = nullptr;
}

int Balayage::executer(FrmInit& fenetre, const volatile std::sig_atomic_t* arret)
{
    preparer(fenetre);
    if (m_journal)
        m_journal->consigner(Genre::balayage, champsBalayage(m_parametres, contexte(fenetre)));
    for (const QString& code : std::as_const(m_parametres.codes)) {
        if (arret && *arret) {
            m_interrompu = true;
            break;
        }
        balayerActe(code);
    }
    terminer(fenetre);

    const int statut = m_echecs > 0 || m_interrompu ? 1 : 0;
    if (m_journal)
        m_journal->consigner(Genre::finBalayage, {{Champ::statut, statut},
                                                  {Champ::actes, m_actesFaits},
                                                  {Champ::echecs, m_echecs},
                                                  {Champ::interrompu, m_interrompu},
                                                  {Champ::boitesNatives, m_boitesNatives}});
    return statut;
}

ChoixBoiteNative Balayage::choixBoitesNatives()
{
    return [this](const BoiteNative&) {
        ++m_boitesNatives;
        return ReponseBoiteNative{m_parametres.boitesNatives, {}};
    };
}

void Balayage::afficherMessage(const QString&, const QString&, IconeMessage) {}

QString Balayage::saisirTexte(const QString&, const QString&, const QString&)
{
    return m_acte;
}

void Balayage::commandeCommencee(const QString& bouton)
{
    if (m_suivi)
        m_suivi->commandeCommencee(bouton);
}

void Balayage::commandeTerminee(const QString& bouton, bool aboutie)
{
    if (!aboutie)
        ++m_echecs;
    if (m_suivi)
        m_suivi->commandeTerminee(bouton, aboutie);
}

QJsonObject champsBalayage(const ParametresBalayage& parametres, const Balayage::Contexte& contexte)
{
    QJsonObject champs{{Champ::commandes, QJsonArray::fromStringList(parametres.boutons)},
                       {Champ::date, contexte.date},
                       {Champ::grille, contexte.grille},
                       {Champ::srt, contexte.srt ? 1 : 0},
                       {Champ::actes, parametres.codes.size()}};
    for (auto champ = parametres.tranche.constBegin(); champ != parametres.tranche.constEnd(); ++champ)
        champs.insert(champ.key(), champ.value());
    return champs;
}

// ---- The worker: the window and its control in their own process, the journal on the standard output

int lancerTravailleurBalayage(const ParametresBalayage& parametres, const Implementations& implementations,
                              const FabriqueControle& fabrique, const QString& progIdControle)
{
    preparerTravailleur();
    QString erreur;
    const std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(QStringLiteral("-"), erreur);
    if (!journal) {
        SortieConsole::ecrireLigne(stderr, erreur);
        return StatutBanc::LigneRefusee;
    }
    journal->retenirJusquAuxAnnonces();
    Balayage balayage(parametres, journal.get());
    FenetreBanc demarrage(implementations,
                          fabriqueRepondantAuxBoites(fabrique, balayage.choixBoitesNatives()), progIdControle,
                          journal.get(), balayage);
    FrmInit* const fenetre = demarrage.ouvrir(FenetreBanc::Avertissement::Console);
    if (!fenetre) {
        journal->ajouter("#fenetre\n");
        journal->vider();
        return StatutBanc::NonAbouti;
    }
    balayage.transmettreSuivi(demarrage.suiviJournal());
    balayage.preparer(*fenetre);
    const Balayage::Contexte contexte = balayage.contexte(*fenetre);
    journal->ajouter("#pret " + contexte.date.toUtf8() + '\t' + contexte.grille.toUtf8() + '\t' +
                     (contexte.srt ? "1" : "0") + '\n');
    char ligne[256];
    while (std::fgets(ligne, sizeof ligne, stdin) != nullptr) {
        const QString code = QString::fromUtf8(ligne).trimmed();
        if (code.isEmpty())
            continue;
        if (const int echecs = balayage.balayerActe(code); echecs > 0)
            journal->ajouter("#echecs " + QByteArray::number(echecs) + '\n');
        journal->ajouter("#fin\n");
        // The act's lines go to the supervisor before the next act is read, which it may not send yet.
        journal->vider();
    }
    balayage.terminer(*fenetre);
    journal->vider();
    return StatutBanc::Abouti;
}

// ---- The supervisor: the journal, the progress and the summary, whatever becomes of the worker

namespace {

class SuiviSuperviseurBanc final : public SuiviSuperviseurJournal
{
public:
    SuiviSuperviseurBanc(const ParametresBalayage& parametres, JournalAppels* journal)
        : SuiviSuperviseurJournal(journal, parametres.codes, parametres.delaiAppelS)
        , m_parametres(parametres)
        , m_progression(parametres.codes.size())
    {}

    bool message(QByteArrayView mot, QByteArrayView reste) override
    {
        if (mot == "pret") {
            if (!m_balayageConsigne) {
                const QStringList champs = QString::fromUtf8(reste).split(QLatin1Char('\t'));
                consignerBalayage({champs.value(0), champs.value(1), champs.value(2) == QLatin1String("1")});
            }
        } else if (mot == "echecs") {
            m_echecs += reste.toByteArray().toInt();
        } else if (mot == "fenetre") {
            m_fenetreFermee = true;
            return false;
        }
        return true;
    }

    void finActe(qsizetype, qsizetype faits) override { m_progression.avancer(faits); }

    // The native boxes counted from the worker's lines: a worker that dies after a box cannot count it.
    void ligneJournal(QByteArrayView ligne) override
    {
        const qsizetype genre = TeteLigne::debutGenre(ligne);
        if (genre >= 0 && ligne.sliced(genre).startsWith("\"genre\":\"boite_native\""))
            ++m_boitesNatives;
        SuiviSuperviseurJournal::ligneJournal(ligne);
    }
    int boitesNatives() const { return m_boitesNatives; }

    // A sweep whose every worker died before its window was ready still says what it swept.
    void consignerBalayage(const Balayage::Contexte& contexte)
    {
        m_balayageConsigne = true;
        if (journal())
            journal()->consigner(Genre::balayage, champsBalayage(m_parametres, contexte));
    }
    bool balayageConsigne() const { return m_balayageConsigne; }

    void terminer()
    {
        m_progression.terminer();
        for (const QString& panne : pannes())
            SortieConsole::ecrireLigne(stdout, panne);
    }

    int echecs() const { return m_echecs; }
    bool fenetreFermee() const { return m_fenetreFermee; }

protected:
    bool retenir(QByteArrayView ligne) override
    {
        // The worker's own "debut" stands for this process's, written already.
        const qsizetype genre = TeteLigne::debutGenre(ligne);
        return !(genre >= 0 && ligne.sliced(genre).startsWith("\"genre\":\"debut\""));
    }

private:
    const ParametresBalayage& m_parametres;
    ProgressionBalayage m_progression;
    int m_echecs = 0;
    int m_boitesNatives = 0;
    bool m_balayageConsigne = false;
    bool m_fenetreFermee = false;
};

} // namespace

int lancerBalayage(const ParametresBalayage& parametres, const QStringList& arguments, JournalAppels* journal,
                   const QString& progIdControle)
{
    if (journal)
        consignerDebut(*journal, progIdControle);
    SuiviSuperviseurBanc suivi(parametres, journal);
    SuperviseurBalayage superviseur({.programme = QCoreApplication::applicationFilePath(),
                                     .arguments = QStringList{QStringLiteral("--travailleur")} + arguments,
                                     .codes = parametres.codes,
                                     .delaiAppelS = parametres.delaiAppelS,
                                     .pannesDeSuite = pannesDeSuite,
                                     .actesAvance = actesAvance,
                                     .travailleurs = parametres.processus,
                                     .demarrageUnique = true},
                                    suivi);
    {
        const ArretBalayage arret;
        superviseur.executer(arret.demande());
    }
    suivi.terminer();
    if (!suivi.balayageConsigne())
        suivi.consignerBalayage(
            {parametres.date ? parametres.date->toString(QStringLiteral("yyyyMMdd")) : QString(),
             parametres.grille.value_or(QString()), parametres.srt});

    const int pannes = superviseur.plantages() + superviseur.blocages();
    const bool abouti = superviseur.erreurDemarrage().isEmpty() && !suivi.fenetreFermee() &&
                        suivi.echecs() == 0 && pannes == 0 && !superviseur.interrompu();
    const int statut = abouti ? StatutBanc::Abouti : StatutBanc::NonAbouti;
    if (journal)
        journal->consigner(Genre::finBalayage, {{Champ::statut, statut},
                                                {Champ::actes, superviseur.actesFaits()},
                                                {Champ::echecs, suivi.echecs()},
                                                {Champ::interrompu, superviseur.interrompu()},
                                                {Champ::plantages, superviseur.plantages()},
                                                {Champ::blocages, superviseur.blocages()},
                                                {Champ::boitesNatives, suivi.boitesNatives()}});

    if (!superviseur.erreurDemarrage().isEmpty())
        SortieConsole::ecrireLigne(stderr,
                                   QStringLiteral("Balayage impossible : le processus de balayage n'a pas pu "
                                                  "démarrer : %1")
                                       .arg(superviseur.erreurDemarrage()));
    if (suivi.fenetreFermee())
        SortieConsole::ecrireLigne(stderr,
                                   QStringLiteral("Balayage impossible : la fenêtre n'a pas pu s'ouvrir"));
    if (superviseur.abandonne())
        SortieConsole::ecrireLigne(
            stderr, suivi.texteAbandon(pannesDeSuite, QStringLiteral("l'ouverture de la fenêtre")));
    if (superviseur.interrompu())
        SortieConsole::ecrireLigne(stderr,
                                   texteInterruption(superviseur.actesFaits(), parametres.codes.size()));
    if (journal && !journal->complet())
        SortieConsole::ecrireLigne(
            stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
    SortieConsole::ecrireLigne(
        stderr, QStringLiteral("Balayage : %1 acte(s), %2 commande(s) en échec, %3, %4 boîte(s) "
                               "native(s).")
                    .arg(superviseur.actesFaits())
                    .arg(suivi.echecs())
                    .arg(comptesPannes(superviseur.plantages(), superviseur.blocages()))
                    .arg(suivi.boitesNatives()));
    return statut;
}
