#include "suivicommandesjournal.h"

#include "journalappels.h"
#include "vocabulairejournal.h"

SuiviCommandesJournal::SuiviCommandesJournal(JournalAppels& journal)
    : m_journal(journal)
{}

void SuiviCommandesJournal::commandeCommencee(const QString& bouton)
{
    m_chrono = Chronometre();
    m_journal.consigner(Genre::commande, {{Champ::bouton, bouton}});
}

void SuiviCommandesJournal::commandeTerminee(const QString& bouton, bool aboutie)
{
    m_journal.consigner(
        Genre::finCommande,
        {{Champ::bouton, bouton}, {Champ::aboutie, aboutie}, {Champ::dureeUs, m_chrono.microsecondes()}});
}
