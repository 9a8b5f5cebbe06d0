// What the journal costs. Per call: a control member reached through the journalling decorator against
// the bare member, the journal written to a file. Per command: a window command against our component
// with the journal on against the same command with it off (no decorator at all, as the tool runs
// without --journal). Each pair is measured in the same run. Most of a line's cost is the write to the
// file, made at every line so a crash loses nothing: the targets allow the commands of a few microseconds
// to take up to three times as long with the journal on.
#include "appelsjournalises.h"
#include "controlejournalise.h"
#include "fabriquectltarvo.h"
#include "frminit.h"
#include "journalappels.h"
#include "rapportratio.h"
#include "sequencetarvo.h"
#include "servicemessagesjournalise.h"
#include "sondesysteme.h"
#include "suivicommandesjournal.h"
#include "tablemembres.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A control that answers at once: what remains is the decorator's own cost.
class ControleImmediat final : public ControleDispatch
{
public:
    void ecrire(qint32, const QVariant&) override {}
    void ecrireParReference(qint32, QVariant&) override {}
    QVariant lire(qint32) override { return m_reponse; }
    QVariant appeler(qint32) override { return m_reponse; }

private:
    QVariant m_reponse =
        QStringLiteral("4|Majoration pour analgésie postopératoire sans cathéter|5|Majoration");
};

class MessagesMuets final : public ServiceMessages
{
public:
    void afficherMessage(const QString&, const QString&, IconeMessage) override {}
    QString saisirTexte(const QString&, const QString&, const QString&) override { return {}; }
};

std::unique_ptr<JournalAppels> journalTemporaire(const QTemporaryDir& dossier)
{
    QString erreur;
    return JournalAppels::ouvrir(dossier.filePath(QStringLiteral("journal.jsonl")), erreur);
}

void appelControle(benchmark::State& etat, bool journalise)
{
    QTemporaryDir dossier;
    const std::unique_ptr<JournalAppels> journal = journalTemporaire(dossier);
    std::unique_ptr<ControleDispatch> controle = std::make_unique<ControleImmediat>();
    if (journalise)
        controle = std::make_unique<ControleJournalise>(std::move(controle), *journal);
    for (auto _ : etat) {
        QVariant valeur = controle->lire(DispId::Modificateurs);
        benchmark::DoNotOptimize(valeur);
    }
    etat.counters["appels_par_s"] =
        benchmark::Counter(double(etat.iterations()), benchmark::Counter::kIsRate);
}

void commande(benchmark::State& etat, const char* bouton, bool journalise)
{
    QTemporaryDir dossier;
    const std::unique_ptr<JournalAppels> journal = journalTemporaire(dossier);
    MessagesMuets muets;
    std::optional<ServiceMessagesJournalise> messages;
    std::optional<AppelsJournalises> bibliotheque;
    std::optional<SuiviCommandesJournal> suivi;
    std::unique_ptr<FrmInit> fenetre;
    if (journalise) {
        messages.emplace(muets, *journal);
        bibliotheque.emplace(appelsTarvo(), *journal);
        suivi.emplace(*journal);
        fenetre = std::make_unique<FrmInit>(*messages, fabriqueJournalisee(&creerCtlTarvo, *journal),
                                            sondePlateforme(), commandesFrmInit(*bibliotheque));
        fenetre->suivreCommandes(&*suivi);
    } else {
        fenetre = std::make_unique<FrmInit>(muets, &creerCtlTarvo, sondePlateforme(),
                                            commandesFrmInit(appelsTarvo()));
    }
    fenetre->charger();
    fenetre->controles().txtCodeCCAM->setText(QStringLiteral("HFFC004"));
    fenetre->controles().DTPicker1->setDate(QDate(2020, 1, 1));
    auto* cible = fenetre->findChild<QPushButton*>(QString::fromLatin1(bouton));
    if (!cible) {
        etat.SkipWithError("bouton introuvable");
        return;
    }
    cible->click(); // the store opened and the library loaded before the clock runs
    for (auto _ : etat)
        cible->click();
    if (journalise) {
        QFile fichier(dossier.filePath(QStringLiteral("journal.jsonl")));
        fichier.open(QIODevice::ReadOnly);
        etat.counters["lignes_par_commande"] =
            double(fichier.readAll().count('\n')) / double(etat.iterations() + 1);
    }
}

} // namespace

BENCHMARK_CAPTURE(appelControle, nu, false);
BENCHMARK_CAPTURE(appelControle, journal, true);
BENCHMARK_CAPTURE(commande, Command1_sans, "Command1", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command1_journal, "Command1", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command4_sans, "Command4", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command4_journal, "Command4", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command6_sans, "Command6", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command6_journal, "Command6", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command3_sans, "Command3", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(commande, Command3_journal, "Command3", true)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return executerAvecRatios(argc, argv,
                              {
                                  // Each line costs one write to the file, made at once so that a crash
                                  // loses nothing (about 6.5 us in a release build here). Command1 alone
                                  // takes about as long as one line, so its ratio mostly counts its 7 writes.
                                  {"commande/Command1_journal", "commande/Command1_sans", 10.0},
                                  {"commande/Command4_journal", "commande/Command4_sans", 3.0},
                                  {"commande/Command6_journal", "commande/Command6_sans", 3.0},
                                  {"commande/Command3_journal", "commande/Command3_sans", 3.0},
                              });
}
