#include "balayage.h"

#include "fenetrebanc.h"
#include "frminit.h"
#include "journalappels.h"
#include "sortieconsole.h"
#include "statutbanc.h"
#include "vocabulairejournal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <optional>

Balayage::Balayage(ParametresBalayage parametres, JournalAppels* journal)
    : m_parametres(std::move(parametres))
    , m_journal(journal)
{}

int Balayage::executer(FrmInit& fenetre, const volatile std::sig_atomic_t* arret)
{
    ControlesFenetre& controles = fenetre.controles();
    if (m_parametres.date)
        controles.DTPicker1->setDate(*m_parametres.date);
    if (m_parametres.grille)
        controles.CboGrille->setCurrentIndex(controles.CboGrille->findText(*m_parametres.grille));
    if (m_parametres.srt)
        controles.chkSRT->setCheckState(Qt::Checked);
    fenetre.suivreCommandes(this);

    QList<QPushButton*> boutons;
    for (const QString& nom : m_parametres.boutons)
        boutons.append(fenetre.findChild<QPushButton*>(nom));
    if (m_journal)
        m_journal->consigner(Genre::balayage,
                             {{Champ::commandes, QJsonArray::fromStringList(m_parametres.boutons)},
                              {Champ::date, controles.DTPicker1->date().toString(QStringLiteral("yyyyMMdd"))},
                              {Champ::grille, controles.CboGrille->currentText()},
                              {Champ::srt, controles.chkSRT->checkState() == Qt::Checked ? 1 : 0},
                              {Champ::actes, m_parametres.codes.size()}});

    for (const QString& code : std::as_const(m_parametres.codes)) {
        if (arret && *arret) {
            m_interrompu = true;
            break;
        }
        m_acte = code;
        if (m_journal)
            m_journal->etiqueter({{Champ::acte, code}});
        controles.txtCodeCCAM->setText(code);
        for (QPushButton* bouton : std::as_const(boutons))
            bouton->click();
        if (m_journal)
            m_journal->etiqueter({});
        ++m_actesFaits;
        if (m_progression)
            m_progression(m_actesFaits);
    }
    fenetre.suivreCommandes(m_suivi);

    const int statut = m_echecs > 0 || m_interrompu ? 1 : 0;
    if (m_journal)
        m_journal->consigner(Genre::finBalayage, {{Champ::statut, statut},
                                                  {Champ::actes, m_actesFaits},
                                                  {Champ::echecs, m_echecs},
                                                  {Champ::interrompu, m_interrompu}});
    return statut;
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

namespace {

volatile std::sig_atomic_t arretDemande = 0;

extern "C" void demanderArret(int)
{
    arretDemande = 1;
}

QString duree(double secondes)
{
    const qint64 s = qint64(secondes + 0.5);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// A bar redrawn at most ten times a second on a terminal; a line per tenth of the acts otherwise, so a
// log file stays short.
class Progression
{
public:
    explicit Progression(qsizetype total)
        : m_total(total)
        , m_terminal(SortieConsole::estTerminal(stderr))
    {
        m_chrono.start();
    }

    void avancer(qsizetype fait)
    {
        const double secondes = double(m_chrono.elapsed()) / 1000.0;
        const double rythme = secondes > 0 ? double(fait) / secondes : 0.0;
        const QString reste = rythme > 0 ? duree(double(m_total - fait) / rythme) : QStringLiteral("?");
        if (m_terminal) {
            if (fait != m_total && m_chrono.elapsed() - m_dernierAffichage < 100)
                return;
            m_dernierAffichage = m_chrono.elapsed();
            constexpr int largeur = 30;
            const int plein = int(largeur * fait / m_total);
            SortieConsole::ecrire(
                stderr, QStringLiteral("\r[%1%2] %3/%4 actes  %5 actes/s  reste %6 ")
                            .arg(QString(plein, QLatin1Char('#')), QString(largeur - plein, QLatin1Char('.')))
                            .arg(fait)
                            .arg(m_total)
                            .arg(rythme, 0, 'f', 0)
                            .arg(reste));
            m_barreAffichee = true;
            return;
        }
        const qsizetype dixieme = fait * 10 / m_total;
        if (dixieme == m_dernierDixieme)
            return;
        m_dernierDixieme = dixieme;
        SortieConsole::ecrireLigne(stderr,
                                   QStringLiteral("Balayage : %1 % (%2/%3 actes, %4 actes/s, reste %5)")
                                       .arg(dixieme * 10)
                                       .arg(fait)
                                       .arg(m_total)
                                       .arg(rythme, 0, 'f', 0)
                                       .arg(reste));
    }

    void terminer()
    {
        if (m_barreAffichee)
            SortieConsole::ecrire(stderr, QStringLiteral("\n"));
    }

private:
    qsizetype m_total;
    bool m_terminal;
    QElapsedTimer m_chrono;
    qint64 m_dernierAffichage = -1000;
    qsizetype m_dernierDixieme = 0;
    bool m_barreAffichee = false;
};

} // namespace

int lancerBalayage(const ParametresBalayage& parametres, JournalAppels* journal,
                   const Implementations& implementations, const FabriqueControle& fabrique,
                   const QString& progIdControle)
{
    Balayage balayage(parametres, journal);
    FenetreBanc demarrage(implementations, fabrique, progIdControle, journal, balayage);
    FrmInit* const fenetre = demarrage.ouvrir(FenetreBanc::Avertissement::Console);
    if (!fenetre) {
        SortieConsole::ecrireLigne(stderr,
                                   QStringLiteral("Balayage impossible : la fenêtre n'a pas pu s'ouvrir"));
        return StatutBanc::NonAbouti;
    }
    balayage.transmettreSuivi(demarrage.suiviJournal());

    Progression progression(parametres.codes.size());
    balayage.suivreProgression([&](qsizetype fait) { progression.avancer(fait); });
    arretDemande = 0;
    const auto precedent = std::signal(SIGINT, demanderArret);
    const int statut = balayage.executer(*fenetre, &arretDemande);
    std::signal(SIGINT, precedent == SIG_ERR ? SIG_DFL : precedent);
    progression.terminer();

    if (balayage.interrompu())
        SortieConsole::ecrireLigne(stderr, QStringLiteral("Balayage interrompu après %1 acte(s) sur %2.")
                                               .arg(balayage.actesFaits())
                                               .arg(parametres.codes.size()));
    SortieConsole::ecrireLigne(stderr, QStringLiteral("Balayage : %1 acte(s), %2 commande(s) en échec.")
                                           .arg(balayage.actesFaits())
                                           .arg(balayage.echecs()));
    demarrage.signalerJournalIncomplet();
    return statut;
}
