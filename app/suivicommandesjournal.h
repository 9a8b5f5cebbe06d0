#pragma once

#include "evenementsjournal.h"
#include "suivicommandes.h"

class JournalAppels;

// Each command in the journal: "commande" with its button when it starts, "fin_commande" once it has
// ended (its error report included) with whether it ran to its end and its duration.
class SuiviCommandesJournal final : public SuiviCommandes
{
public:
    explicit SuiviCommandesJournal(JournalAppels& journal);

    void commandeCommencee(const QString& bouton) override;
    void commandeTerminee(const QString& bouton, bool aboutie) override;

private:
    JournalAppels& m_journal;
    Chronometre m_chrono;
};
