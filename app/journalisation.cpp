#include "journalisation.h"

#include "controlejournalise.h"
#include "demarrage.h"
#include "examencomposants.h"
#include "journalappels.h"
#include "sequencetarvo.h"
#include "vocabulairejournal.h"

#include <QCoreApplication>
#include <QJsonArray>

Journalisation::Journalisation(JournalAppels& j, ServiceMessages& messages, AppelsSequence& bibliotheque,
                               const FabriqueControle& fabrique, const QString& progIdControle)
    : journal(j)
    , messagesJournalises(messages, j)
    , bibliotheque(bibliotheque, j)
    , fabriqueControle(fabriqueJournalisee(fabrique, j))
    , suivi(j)
{
    consignerDebut(journal, progIdControle);
}

void consignerDebut(JournalAppels& journal, const QString& progIdControle)
{
    QJsonArray arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.append(argument);
    // Which control answers: the class and file its registration gives now.
    const IdentiteControle identite = identiteControle(progIdControle);
    journal.consigner(Genre::debut, {{Champ::programme, QCoreApplication::applicationName()},
                                     {Champ::arguments, arguments},
                                     {Champ::base, qEnvironmentVariable("BANC_CCAM_BASE")},
                                     {Champ::controle, QJsonObject{{Champ::progid, progIdControle},
                                                                   {Champ::clsid, identite.clsid},
                                                                   {Champ::serveur, identite.serveur}}}});
}

std::unique_ptr<FrmInit> demarrerFrmInitJournalise(std::optional<Journalisation>& journalisation,
                                                   ServiceMessages& messages,
                                                   const FabriqueControle& fabrique,
                                                   const SondeSysteme& sonde, AppelsSequence& bibliotheque)
{
    if (journalisation) {
        return demarrerFrmInit(journalisation->messagesJournalises, journalisation->fabriqueControle, sonde,
                               commandesFrmInit(journalisation->bibliotheque));
    }
    return demarrerFrmInit(messages, fabrique, sonde, commandesFrmInit(bibliotheque));
}
