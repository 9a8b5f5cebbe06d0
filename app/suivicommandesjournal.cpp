#include "suivicommandesjournal.h"

#include "journalappels.h"

SuiviCommandesJournal::SuiviCommandesJournal(JournalAppels& journal)
    : m_journal(journal)
{}

void SuiviCommandesJournal::commandeCommencee(const QString& bouton)
{
    m_chrono = Chronometre();
    m_journal.consigner(QStringLiteral("commande"), {{QStringLiteral("bouton"), bouton}});
}

void SuiviCommandesJournal::commandeTerminee(const QString& bouton, bool aboutie)
{
    m_journal.consigner(QStringLiteral("fin_commande"),
                        {{QStringLiteral("bouton"), bouton},
                         {QStringLiteral("aboutie"), aboutie},
                         {QStringLiteral("duree_us"), m_chrono.microsecondes()}});
}
