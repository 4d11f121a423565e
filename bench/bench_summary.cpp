#include "bench/bench_summary.h"

#include <cstdio>
#include <ostream>

namespace kolvane::bench {

namespace {

double toMicros(double t, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return t / 1e3;
        case benchmark::kMicrosecond:
            return t;
        case benchmark::kMillisecond:
            return t * 1e3;
        case benchmark::kSecond:
            return t * 1e6;
    }
    return t;
}

// The budget of one frame: a tick and a paint every 15 ms.
constexpr double kFrameMicros = 15000.0;

}  // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const std::string& args = run.run_name.args;
        const std::string name = run.run_name.function_name + (args.empty() ? "" : "/" + args);
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!median && !single) continue;
        medianMicros_[name] = toMicros(run.GetAdjustedRealTime(), run.time_unit);
        medianCpuMicros_[name] = toMicros(run.GetAdjustedCPUTime(), run.time_unit);
        repetitions_[name] = static_cast<int>(run.repetitions);
    }
}

void SummaryReporter::Finalize() {
    ConsoleReporter::Finalize();
    auto& out = GetOutputStream();
    auto figure = [&](const char* name) -> double {
        const auto it = medianMicros_.find(name);
        return it == medianMicros_.end() ? -1.0 : it->second;
    };
    auto cpu = [&](const char* name) -> double {
        const auto it = medianCpuMicros_.find(name);
        return it == medianCpuMicros_.end() ? -1.0 : it->second;
    };
    char line[200];
    // One line: the figure, its CPU time (negative: none), and its target.
    auto report = [&](const char* label, double value, double cpuValue, const char* unit,
                      const char* target, bool checked, bool met) {
        char cpuText[32] = "";
        if (cpuValue >= 0) std::snprintf(cpuText, sizeof cpuText, "(CPU %.3f)", cpuValue);
        if (value < 0) {
            std::snprintf(line, sizeof line, "  %-30s %10s\n", label, "not run");
        } else if (!checked) {
            std::snprintf(line, sizeof line, "  %-30s %10.3f %-3s %-16s\n", label, value, unit,
                          cpuText);
        } else {
            std::snprintf(line, sizeof line, "  %-30s %10.3f %-3s %-16s target %-22s %s\n", label,
                          value, unit, cpuText, target, met ? "met" : "MISSED");
            if (!met) allMet_ = false;
        }
        out << line;
    };

    const double tick = figure("BM_Tick");
    const double paint = figure("BM_Paint");
    const double both = figure("BM_TickPaint");
    const double base = figure("BM_ClearAndCopy");
    const double ratio = (paint > 0 && base > 0) ? paint / base : -1.0;
    const int reps = repetitions_.empty() ? 1 : repetitions_.begin()->second;

    out << "\nSummary (median real time of " << reps << " repetition" << (reps == 1 ? "" : "s")
        << " each, in microseconds; median CPU time beside it):\n";
    report("tick", tick, cpu("BM_Tick"), "us", "<= 30 us", tick >= 0, tick <= 30.0);
    report("paint", paint, cpu("BM_Paint"), "us", "<= 500 us", paint >= 0, paint <= 500.0);
    report("clear-and-copy baseline", base, cpu("BM_ClearAndCopy"), "us", "", false, true);
    report("paint / clear-and-copy", ratio, -1.0, "x", "<= 3", ratio >= 0, ratio <= 3.0);
    report("tick + paint", both, cpu("BM_TickPaint"), "us", "< 600 us (4% of 15 ms)", both >= 0,
           both < 0.04 * kFrameMicros);
    if (both >= 0) {
        std::snprintf(line, sizeof line, "  %-30s %10.3f %%\n", "tick + paint, share of 15 ms",
                      100.0 * both / kFrameMicros);
        out << line;
    }
    report("collision pass", figure("BM_CollisionPass"), cpu("BM_CollisionPass"), "us", "", false,
           true);
    report("asteroid outline and region", figure("BM_AsteroidOutlineAndRegion"),
           cpu("BM_AsteroidOutlineAndRegion"), "us", "", false, true);
    report("region + 44 point tests", figure("BM_RegionBuildAndPointTests"),
           cpu("BM_RegionBuildAndPointTests"), "us", "", false, true);
    report("one point test", figure("BM_RegionPointTest"), cpu("BM_RegionPointTest"), "us", "",
           false, true);
    // The scaling step against a plain copy of as many pixels, by CPU time.
    for (const char* k : {"2", "3"}) {
        const std::string scale = std::string("BM_ScaleWhole/") + k;
        const std::string copy = std::string("BM_CopyScaledSize/") + k;
        const std::string label = std::string("scale to ") + k + "x";
        report(label.c_str(), figure(scale.c_str()), cpu(scale.c_str()), "us", "", false, true);
        report((std::string("copy of the ") + k + "x size").c_str(), figure(copy.c_str()),
               cpu(copy.c_str()), "us", "", false, true);
        const double s = cpu(scale.c_str());
        const double c = cpu(copy.c_str());
        const double r = (s > 0 && c > 0) ? s / c : -1.0;
        report((label + " / copy").c_str(), r, -1.0, "x", "<= 2", r >= 0, r <= 2.0);
    }
    report("scale to 1920 x 1080, sharp", figure("BM_ScaleSharp1080p"), cpu("BM_ScaleSharp1080p"),
           "us", "", false, true);
    if (tick < 0 || paint < 0 || both < 0 || ratio < 0) {
        out << "Not every target was measured in this run.\n";
    } else {
        out << (allMet_ ? "All targets met.\n" : "Some targets MISSED.\n");
    }
}

}  // namespace kolvane::bench
