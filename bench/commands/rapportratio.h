#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

// A candidate's time against a baseline measured in the same run, and the ratio it must keep.
struct Ratio
{
    std::string candidat;
    std::string base;
    double cible;
};

// The console report, keeping each benchmark's times (the median when repeated) for the ratios.
// The target is held on CPU time: these machines are shared, and a benchmark that waits for the
// processor would otherwise be charged for it. The wall-clock ratio is printed beside it.
class RapportRatio : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // Prints every ratio; false when one misses its target or lacks a time.
    bool afficherRatios(const std::vector<Ratio>& ratios) const;

private:
    struct Temps
    {
        double cpu;
        double reel;
    };
    std::map<std::string, Temps> m_temps;
};

// Runs the benchmarks selected on the command line, then prints the ratios. The exit code says
// whether every ratio kept its target.
int executerAvecRatios(int argc, char** argv, const std::vector<Ratio>& ratios);
