// Cutting a 10 MB pipe list against a plain memchr scan over the same bytes.

#include "lignesenregistrements.h"
#include "listepipe.h"
#include "rapportratio.h"

#include <QString>
#include <cstring>

namespace {

// 10 MB of UTF-16 text as the control hands it: records of two fields, code and label.
const QString& listeDixMo()
{
    static const QString liste = [] {
        const qsizetype octets = 10 * 1024 * 1024;
        QString texte;
        texte.reserve(octets / 2 + 128);
        for (int i = 0; texte.size() * 2 < octets; ++i)
            texte += QStringLiteral("AAFA%1|Libellé de l'acte %1 avec ses précisions|")
                         .arg(i % 1000, 3, 10, QLatin1Char('0'));
        texte.resize(octets / 2);
        return texte;
    }();
    return liste;
}

void BM_Base_MemchrSurLesMemesOctets(benchmark::State& etat)
{
    const QString& liste = listeDixMo();
    const auto* debut = reinterpret_cast<const char*>(liste.constData());
    const auto* fin = debut + liste.size() * qsizetype(sizeof(QChar));
    for (auto _ : etat) {
        std::size_t trouves = 0;
        for (const char* p = debut; (p = static_cast<const char*>(std::memchr(p, '|', std::size_t(fin - p))));
             ++p)
            ++trouves;
        benchmark::DoNotOptimize(trouves);
    }
    etat.SetBytesProcessed(etat.iterations() * (fin - debut));
}

void BM_DecoupageListePipe(benchmark::State& etat)
{
    const QString& liste = listeDixMo();
    for (auto _ : etat) {
        ListePipe champs(liste);
        qsizetype nombre = 0;
        for (QStringView champ; champs.suivant(champ);) {
            benchmark::DoNotOptimize(champ.data());
            ++nombre;
        }
        benchmark::DoNotOptimize(nombre);
    }
    etat.SetBytesProcessed(etat.iterations() * liste.size() * qsizetype(sizeof(QChar)));
}

// Not in the ratio: what building List1's lines from the same list adds on top of the cut.
void BM_DecoupageEtLignes(benchmark::State& etat)
{
    const QString& liste = listeDixMo();
    for (auto _ : etat) {
        const QStringList lignes = lignesEnregistrements(liste, FormatPaire);
        benchmark::DoNotOptimize(lignes.size());
    }
}

} // namespace

BENCHMARK(BM_Base_MemchrSurLesMemesOctets)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_DecoupageListePipe)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_DecoupageEtLignes)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    return executerAvecRatios(argc, argv,
                              {{"BM_DecoupageListePipe", "BM_Base_MemchrSurLesMemesOctets", 2.0}});
}
