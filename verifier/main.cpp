// tarvo-verifier: checks a classification library installation. Runs the library test sequence against the
// library the search finds and prints each step, or sweeps a list of acts through it (--balayage).
#include "appelsjournalises.h"
#include "balayagebibliotheque.h"
#include "journalappels.h"
#include "listecodes.h"
#include "optionsverifier.h"
#include "rapportverification.h"
#include "sequencetarvo.h"
#include "servicemessagesconsole.h"
#include "servicemessagesjournalise.h"
#include "sortieconsole.h"
#include "traductions.h"
#include "verification.h"

#include <QCoreApplication>
#include <memory>
#include <optional>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo-verifier"));
    installerTraductionsQt(application);

    int statut = StatutVerification::Reussie;
    const std::optional<OptionsVerifier> options = lireOptionsVerifier(QCoreApplication::arguments(), statut);
    if (!options)
        return statut;

    if (options->travailleur)
        return executerTravailleurBalayage(*options);

    // A sweep's list is read whole before the journal is opened, so a refused list leaves no file behind.
    std::optional<QStringList> codes;
    if (options->listeActes) {
        QString refus;
        codes = lireFichierCodes(*options->listeActes, refus);
        if (!codes) {
            SortieConsole::ecrireLigne(stderr, refus);
            return StatutVerification::NonVerifiee;
        }
        if (options->tranche && !trancherCodes(*codes, *options->tranche, refus)) {
            SortieConsole::ecrireLigne(stderr, refus);
            return StatutVerification::NonVerifiee;
        }
    }

    std::unique_ptr<JournalAppels> journal;
    if (!options->cheminJournal.isEmpty()) {
        QString erreur;
        journal = JournalAppels::ouvrir(options->cheminJournal, erreur);
        if (!journal) {
            SortieConsole::ecrireLigne(stderr, erreur);
            return StatutVerification::NonVerifiee;
        }
    }
    ServiceMessagesConsole console;
    std::optional<ServiceMessagesJournalise> messagesJournalises;
    std::optional<AppelsJournalises> appelsJournalises;
    if (journal) {
        messagesJournalises.emplace(console, *journal);
        appelsJournalises.emplace(appelsTarvo(), *journal);
    }
    RapportVerification rapport(stdout, stderr);
    if (codes)
        return executerBalayage(*options, *codes, journal.get(), rapport);
    AppelsSequence& appels = journal ? static_cast<AppelsSequence&>(*appelsJournalises) : appelsTarvo();
    return executerVerification(
        *options, journal ? static_cast<ServiceMessages&>(*messagesJournalises) : console, appels, rapport);
}
