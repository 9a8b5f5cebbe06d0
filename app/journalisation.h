#pragma once

#include "appelsjournalises.h"
#include "controledispatch.h"
#include "servicemessagesjournalise.h"
#include "suivicommandesjournal.h"

class JournalAppels;

// Everything a journalled run slips between the window and the components; writes the run's "debut".
struct Journalisation
{
    // `progIdControle` is what the "debut" event looks up in the registry for the control's class and file.
    Journalisation(JournalAppels& j, ServiceMessages& messages, AppelsSequence& bibliotheque,
                   const FabriqueControle& fabrique, const QString& progIdControle);

    JournalAppels& journal;
    ServiceMessagesJournalise messagesJournalises;
    AppelsJournalises bibliotheque;
    FabriqueControle fabriqueControle;
    SuiviCommandesJournal suivi;
};
