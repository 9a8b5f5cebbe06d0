#include "rapportratio.h"

#include <cstdio>

void RapportRatio::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const std::string& nom = run.run_name.function_name;
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median")
                m_temps[nom] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        } else if (run.repetitions <= 1) {
            m_temps[nom] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        }
    }
}

bool RapportRatio::afficherRatios(const std::vector<Ratio>& ratios) const
{
    bool tenus = true;
    for (const Ratio& ratio : ratios) {
        const auto candidat = m_temps.find(ratio.candidat);
        const auto base = m_temps.find(ratio.base);
        if (candidat == m_temps.end() || base == m_temps.end() || base->second.cpu <= 0.0 ||
            base->second.reel <= 0.0) {
            std::printf("ratio %s / %s : non mesuré\n", ratio.candidat.c_str(), ratio.base.c_str());
            continue;
        }
        const double cpu = candidat->second.cpu / base->second.cpu;
        const double reel = candidat->second.reel / base->second.reel;
        const bool tenu = cpu <= ratio.cible;
        tenus = tenus && tenu;
        std::printf("ratio %s / %s = %.2f en temps CPU (cible <= %.2f) %s ; %.2f en temps réel\n",
                    ratio.candidat.c_str(), ratio.base.c_str(), cpu, ratio.cible, tenu ? "tenu" : "MANQUÉ",
                    reel);
    }
    return tenus;
}

int executerAvecRatios(int argc, char** argv, const std::vector<Ratio>& ratios)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RapportRatio rapport;
    benchmark::RunSpecifiedBenchmarks(&rapport);
    benchmark::Shutdown();
    return rapport.afficherRatios(ratios) ? 0 : 2;
}
