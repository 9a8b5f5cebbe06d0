// What the module costs over a direct call of our library: the lazy lookup is done once, so what is left is
// the narrow copy of the texts. Each benchmark times the module and the direct call alternately in the same
// loop and reports their ratio (absolute times drift on these shared machines; the ratio does not).

#include "sequencetarvo.h"
#include "servicemessages.h"
#include "tarvo.h"
#include "tarvolib.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using Horloge = std::chrono::steady_clock;

class ServiceMuet : public ServiceMessages
{
public:
    int boites = 0;
    void afficherMessage(const QString&, const QString&, IconeMessage) override { ++boites; }
    QString saisirTexte(const QString&, const QString&, const QString&) override { return {}; }
};

template<typename Module, typename Direct>
void comparer(benchmark::State& state, Module&& module, Direct&& direct)
{
    Horloge::duration tempsModule{}, tempsDirect{};
    for (auto _ : state) {
        const auto t0 = Horloge::now();
        benchmark::DoNotOptimize(module());
        const auto t1 = Horloge::now();
        benchmark::DoNotOptimize(direct());
        tempsModule += t1 - t0;
        tempsDirect += Horloge::now() - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["module_us"] = std::chrono::duration<double, std::micro>(tempsModule).count() / n;
    state.counters["direct_us"] = std::chrono::duration<double, std::micro>(tempsDirect).count() / n;
    state.counters["ratio"] =
        static_cast<double>(tempsModule.count()) / static_cast<double>(tempsDirect.count());
}

void libelle(benchmark::State& state)
{
    Connection_Tarvo(0, 1, 0, nullptr);
    const QString code = QStringLiteral("JLNL001");
    comparer(
        state, [&] { return tarvo::Libelle_Tarvo(code); }, [] { return Libelle_Tarvo("JLNL001"); });
    DeConnection_Tarvo();
}

void listeModificateurs(benchmark::State& state)
{
    Connection_Tarvo(0, 1, 0, nullptr);
    TableauAuto* parModule = nullptr;
    TableauAuto* direct = nullptr;
    comparer(
        state, [&] { return tarvo::ListeModificateurs_Tarvo(parModule); },
        [&] { return ListeModificateurs_Tarvo(&direct); });
    tableauAutoDetruire(parModule);
    tableauAutoDetruire(direct);
    DeConnection_Tarvo();
}

// The whole sequence against the seven bare calls it makes, arrays and boxes included on its side only.
void sequenceComplete(benchmark::State& state)
{
    ServiceMuet messages;
    SourceContexteSequence source;
    source.dateReference = [] {
        return QStringLiteral("20250615");
    };
    source.grilleTarifaire = [] {
        return QStringLiteral("001");
    };
    comparer(
        state,
        [&] {
            executerSequenceTarvo(messages, source, appelsTarvo());
            return messages.boites;
        },
        [] {
            TableauAuto* liste = nullptr;
            TableauAuto* prix = nullptr;
            TableauAuto* pec = nullptr;
            int32_t total = Connection_Tarvo(0, 1, 0, "C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf");
            total += ListeModificateurs_Tarvo(&liste);
            total += GetPrixUnitaireActeSupplement_Tarvo("JLNL001", 1, 0, "20250615", "001", &prix);
            total += GetPriseEnCharge_Tarvo("JLNL001", "20080101", &pec);
            total += ListeCodeIncompatibilitesActe_Tarvo("JLNL001", &liste);
            total += ListeCodeAssociationActe_Tarvo("LHQK005", 1, &liste);
            total += DeConnection_Tarvo();
            tableauAutoDetruire(liste);
            tableauAutoDetruire(prix);
            tableauAutoDetruire(pec);
            return total;
        });
}

} // namespace

BENCHMARK(libelle);
BENCHMARK(listeModificateurs);
BENCHMARK(sequenceComplete)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    // The module finds the library beside this program, the very file linked here: one instance, one store.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
