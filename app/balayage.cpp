#include "balayage.h"

#include "fenetrebanc.h"
#include "frminit.h"
#include "journalappels.h"
#include "progressionbalayage.h"
#include "sortieconsole.h"
#include "statutbanc.h"
#include "vocabulairejournal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
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

int lancerBalayage(const ParametresBalayage& parametres, JournalAppels* journal,
                   const Implementations& implementations, const FabriqueControle& fabrique,
                   const QString& progIdControle)
{
    Balayage balayage(parametres, journal);
    FenetreBanc demarrage(implementations,
                          fabriqueRepondantAuxBoites(fabrique, balayage.choixBoitesNatives()), progIdControle,
                          journal, balayage);
    FrmInit* const fenetre = demarrage.ouvrir(FenetreBanc::Avertissement::Console);
    if (!fenetre) {
        SortieConsole::ecrireLigne(stderr,
                                   QStringLiteral("Balayage impossible : la fenêtre n'a pas pu s'ouvrir"));
        return StatutBanc::NonAbouti;
    }
    balayage.transmettreSuivi(demarrage.suiviJournal());

    ProgressionBalayage progression(parametres.codes.size());
    balayage.suivreProgression([&](qsizetype fait) { progression.avancer(fait); });
    int statut = StatutBanc::Abouti;
    {
        const ArretBalayage arret;
        statut = balayage.executer(*fenetre, arret.demande());
    }
    progression.terminer();

    if (balayage.interrompu())
        SortieConsole::ecrireLigne(stderr, QStringLiteral("Balayage interrompu après %1 acte(s) sur %2.")
                                               .arg(balayage.actesFaits())
                                               .arg(parametres.codes.size()));
    SortieConsole::ecrireLigne(
        stderr, QStringLiteral("Balayage : %1 acte(s), %2 commande(s) en échec, %3 boîte(s) native(s).")
                    .arg(balayage.actesFaits())
                    .arg(balayage.echecs())
                    .arg(balayage.boitesNatives()));
    demarrage.signalerJournalIncomplet();
    return statut;
}
