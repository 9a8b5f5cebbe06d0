#pragma once

#include "controledispatch.h"
#include "servicemessages.h"
#include "suivicommandes.h"

#include <QDate>
#include <QStringList>
#include <csignal>
#include <functional>
#include <optional>

struct Implementations;

class FrmInit;
class JournalAppels;
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
    QString m_acte;
    qsizetype m_actesFaits = 0;
    int m_echecs = 0;
    int m_boitesNatives = 0;
    bool m_interrompu = false;
};

// The sweep as the tool runs it: the window built (journalled when `journal` is given), progress on
// standard error (a bar on a terminal, a line per tenth otherwise), Ctrl+C ending it after the current
// act. Returns the exit status.
int lancerBalayage(const ParametresBalayage& parametres, JournalAppels* journal,
                   const Implementations& implementations, const FabriqueControle& fabrique,
                   const QString& progIdControle);
