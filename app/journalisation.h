#pragma once

#include "appelsjournalises.h"
#include "controledispatch.h"
#include "servicemessagesjournalise.h"
#include "suivicommandesjournal.h"

class JournalAppels;

// Everything a journalled run slips between the window and the components; writes the run's "debut".
struct Journalisation
{
    Journalisation(JournalAppels& j, ServiceMessages& messages, AppelsSequence& bibliotheque,
                   const FabriqueControle& fabrique);

    JournalAppels& journal;
    ServiceMessagesJournalise messagesJournalises;
    AppelsJournalises bibliotheque;
    FabriqueControle fabriqueControle;
    SuiviCommandesJournal suivi;
};
