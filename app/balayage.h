#pragma once

#include "controledispatch.h"
#include "servicemessages.h"
#include "suivicommandes.h"

#include <QDate>
#include <QJsonObject>
#include <QStringList>
#include <csignal>
#include <functional>
#include <optional>

struct Implementations;

class FrmInit;
struct ControlesFenetre;
class JournalAppels;
class QJsonObject;
class QPushButton;

struct ParametresBalayage
{
    QStringList codes;
    QStringList boutons{QStringLiteral("Command2"), QStringLiteral("Command4"), QStringLiteral("Command5"),
                        QStringLiteral("Command6"), QStringLiteral("Command7")};
    std::optional<QDate> date;     // the window's own (today) when absent
    std::optional<QString> grille; // "000", "001" or "002"; the window's own ("001") when absent
    bool srt = false;
    ReponseBoiteNative::Mode boitesNatives = ReponseBoiteNative::Mode::Defaut; // the control's own boxes
    int delaiAppelS = 30; // --delai-appel: the worker's call after which it is ended as hung
    int processus = 1;    // --parallele: the workers sweeping at once
    // What the `balayage` line adds for a part of a list (champsTranche); empty for a whole list.
    QJsonObject tranche;
};

// Sweeps a list of acts over the window: for each code, sets txtCodeCCAM and presses the chosen buttons,
// as an operator would, without showing the window. It is the window's message service: Command2's input
// box gets the act's code, every box is closed with OK. Each act's events in the journal carry its code.
class Balayage final : public ServiceMessages, public SuiviCommandes
{
public:
    // `journal` may be null: nothing is then recorded.
    Balayage(ParametresBalayage parametres, JournalAppels* journal);

    // Where the commands' starts and ends go on to (the journal's "commande" and "fin_commande").
    void transmettreSuivi(SuiviCommandes* suivi) { m_suivi = suivi; }

    // Called after each act with the number of acts done.
    void suivreProgression(std::function<void(qsizetype)> progression)
    {
        m_progression = std::move(progression);
    }

    // Runs every act, or stops after the current one once `arret` is set (read between acts only).
    // Returns 0 when every command ran to its end, 1 when one failed or the sweep was stopped.
    int executer(FrmInit& fenetre, const volatile std::sig_atomic_t* arret);

    // How the control's native boxes are answered (ParametresBalayage::boitesNatives), each one counted.
    ChoixBoiteNative choixBoitesNatives();

    // The same in steps, for a worker that is handed its acts one by one: the window set for the sweep
    // (its commands followed by this object), then each act, which returns how many of its commands failed,
    // then the window handed back its former follower.
    void preparer(FrmInit& fenetre);
    int balayerActe(const QString& code);
    void terminer(FrmInit& fenetre);
    // What the "balayage" event says of the window once prepared: its date, grid and "SRT only".
    struct Contexte
    {
        QString date; // yyyyMMdd
        QString grille;
        bool srt = false;
    };
    Contexte contexte(FrmInit& fenetre) const;

    qsizetype actesFaits() const { return m_actesFaits; }
    int boitesNatives() const { return m_boitesNatives; }
    int echecs() const { return m_echecs; }
    bool interrompu() const { return m_interrompu; }

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;
    void commandeCommencee(const QString& bouton) override;
    void commandeTerminee(const QString& bouton, bool aboutie) override;

private:
    ParametresBalayage m_parametres;
    JournalAppels* m_journal;
    SuiviCommandes* m_suivi = nullptr;
    std::function<void(qsizetype)> m_progression;
    QList<QPushButton*> m_boutons;
    ControlesFenetre* m_controles = nullptr;
    QString m_acte;
    qsizetype m_actesFaits = 0;
    int m_echecs = 0;
    int m_boitesNatives = 0;
    bool m_interrompu = false;
};

// The "balayage" event of a sweep of `parametres` over a window in `contexte`.
QJsonObject champsBalayage(const ParametresBalayage& parametres, const Balayage::Contexte& contexte);

// The sweep as the tool runs it: the control in a worker process of this program (lancerTravailleurBalayage),
// `arguments` its options (--controle, --commandes, --date...), so that a crash or a hang of the control
// costs one act; this process builds no window and loads no control. It owns the journal (when `journal` is
// given: "debut", "balayage", the worker's lines in act order, "plantage" or "blocage" where it died or hung,
// "fin_balayage"), the progress on standard error (a bar on a terminal, a line per tenth otherwise) and the
// summary; Ctrl+C ends it, even during a hung call. Returns the exit status.
int lancerBalayage(const ParametresBalayage& parametres, const QStringList& arguments, JournalAppels* journal,
                   const QString& progIdControle);

// banc-ccam --travailleur: the worker's side. The window opened headless with the chosen control, the acts
// read on the standard input, each one's journal lines and "#fin" on the standard output.
int lancerTravailleurBalayage(const ParametresBalayage& parametres, const Implementations& implementations,
                              const FabriqueControle& fabrique, const QString& progIdControle);
