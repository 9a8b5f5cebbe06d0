// Endurance: every command of the window run 10,000 times in one process against our component,
// and the library sequence 10,000 times against our library. Reports, per command, resident memory
// at the end against memory after the first hundred runs (target within 5 %), and the time of the
// last thousand runs against the first thousand (target no slowdown).
#include "dialoguemodal.h"
#include "fabriquectltarvo.h"
#include "frminit.h"
#include "nomsselectionacte.h"
#include "sequencetarvo.h"
#include "servicemessages.h"
#include "sondesysteme.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// Answers every box at once, as an operator who only presses OK; counts the error reports.
class MessagesAutomatiques final : public ServiceMessages
{
public:
    void afficherMessage(const QString& texte, const QString&, IconeMessage icone) override
    {
        ++m_boites;
        if (icone == IconeMessage::Critique && texte.startsWith(QStringLiteral("Erreur")))
            m_derniereErreur = texte;
    }
    QString saisirTexte(const QString&, const QString&, const QString&) override
    {
        return QStringLiteral("JLNL001");
    }

    long boites() const { return m_boites; }
    const QString& derniereErreur() const { return m_derniereErreur; }

private:
    long m_boites = 0;
    QString m_derniereErreur;
};

long memoireResidenteKio()
{
    long pages = 0;
    long residentes = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &residentes) != 2)
            residentes = 0;
        std::fclose(f);
    }
    return residentes * (sysconf(_SC_PAGESIZE) / 1024);
}

int nombreDeRuns()
{
    const int n = qEnvironmentVariableIntValue("BANC_ENDURANCE_RUNS");
    return n >= 2000 ? n : 10000;
}

// Chooses the highlighted act in the selection dialog as soon as it is shown.
void choisirDansLeDialogue()
{
    pendantLeDialogue([](QDialog* dialogue) {
        if (auto* ok = dialogue->findChild<QPushButton*>(NomsSelectionActe::cmdChoisir);
            ok && ok->isEnabled())
            ok->click();
    });
}

void endurance(benchmark::State& etat, const char* bouton)
{
    MessagesAutomatiques messages;
    auto fenetre = std::make_unique<FrmInit>(messages, &creerCtlTarvo, sondePlateforme(),
                                             commandesFrmInit(appelsTarvo()));
    fenetre->charger();
    fenetre->controles().txtCodeCCAM->setText(QStringLiteral("HFFC004"));
    auto* cible = fenetre->findChild<QPushButton*>(QString::fromLatin1(bouton));
    if (!cible) {
        etat.SkipWithError("bouton introuvable");
        return;
    }
    const bool selection = qstrcmp(bouton, "cmdSelectActeCCAM") == 0;
    const int runs = nombreDeRuns();

    for (auto _ : etat) {
        using Horloge = std::chrono::steady_clock;
        double premiers = 0;
        double derniers = 0;
        long memoireApres100 = 0;
        for (int i = 0; i < runs; ++i) {
            const auto debut = Horloge::now();
            if (selection)
                choisirDansLeDialogue();
            cible->click();
            // What the event loop would do between two clicks, deferred deletions included.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            const double duree = std::chrono::duration<double, std::micro>(Horloge::now() - debut).count();
            if (i < 1000)
                premiers += duree;
            if (i >= runs - 1000)
                derniers += duree;
            if (i == 99)
                memoireApres100 = memoireResidenteKio();
        }
        const long memoireFin = memoireResidenteKio();
        etat.counters["runs"] = runs;
        etat.counters["us_par_run_1000_premiers"] = premiers / 1000;
        etat.counters["us_par_run_1000_derniers"] = derniers / 1000;
        etat.counters["ratio_temps_derniers_sur_premiers"] = derniers / premiers;
        etat.counters["rss_apres_100_kio"] = double(memoireApres100);
        etat.counters["rss_fin_kio"] = double(memoireFin);
        etat.counters["ratio_memoire_fin_sur_100"] = double(memoireFin) / double(memoireApres100);
    }
    etat.counters["boites"] = double(messages.boites());
    if (!messages.derniereErreur().isEmpty())
        etat.SkipWithError(messages.derniereErreur().toUtf8().constData());
}

} // namespace

BENCHMARK_CAPTURE(endurance, SelectionActe, "cmdSelectActeCCAM")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, TestModificateurs, "Command1")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, TestPrix, "Command2")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, TestModificateursActe, "Command4")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, CodeRegroupementActe, "Command5")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, RechercheLibelle, "Command6")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, TestListeActesCompatibles, "Command7")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(endurance, SequenceBibliotheque, "Command3")->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
