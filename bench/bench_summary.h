#pragma once
// The console table of Google Benchmark, followed by a summary: the median
// real time of every benchmark (the only run when there are no repetitions)
// with its CPU time beside it,
// paint divided by the clear-and-copy baseline of the same run, and each
// budget with "met" or "MISSED".
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace kolvane::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;
    bool allTargetsMet() const { return allMet_; }

private:
    // Benchmark name -> median real and CPU time in microseconds.
    std::map<std::string, double> medianMicros_;
    std::map<std::string, double> medianCpuMicros_;
    std::map<std::string, int> repetitions_;
    bool allMet_ = true;
};

}  // namespace kolvane::bench
