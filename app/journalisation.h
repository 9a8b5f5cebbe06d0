#pragma once

#include "appelsjournalises.h"
#include "controledispatch.h"
#include "servicemessagesjournalise.h"
#include "suivicommandesjournal.h"

#include <memory>
#include <optional>

class QString;

class FrmInit;
class JournalAppels;
class SondeSysteme;

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

// The run's "debut": the program, its arguments, the store, and the control `progIdControle` names as its
// registration gives it now.
void consignerDebut(JournalAppels& journal, const QString& progIdControle);

// The window started over the journalled components when `journalisation` holds them, over the components
// themselves otherwise; nullptr when it could not open (the failure has been reported).
std::unique_ptr<FrmInit> demarrerFrmInitJournalise(std::optional<Journalisation>& journalisation,
                                                   ServiceMessages& messages,
                                                   const FabriqueControle& fabrique,
                                                   const SondeSysteme& sonde, AppelsSequence& bibliotheque);
