#pragma once
// Figures of a run of tick times, for the measurement build (kolvane-pacing):
// how long the periods between ticks were, how far they strayed from 15 ms,
// and whether the ticks drifted off their schedule.
#include <cstddef>

namespace kolvane::bench {

struct PeriodFigures {
    std::size_t ticks = 0;
    double meanMs = 0;  // elapsed time over the number of periods
    double p50Ms = 0;
    double p99Ms = 0;
    double minMs = 0;
    double maxMs = 0;
    double deviationP99Ms = 0;  // |period - 15 ms|
    double deviationMaxMs = 0;
    // Lateness against the schedule: each tick is due 15 ms after the one
    // before it was due; after a stall (a tick late by a whole period or
    // more) the schedule starts again at the late tick, as the pacer's does.
    // Drift is the least-squares slope of lateness over the run.
    double latenessMaxMs = 0;
    double driftMsPerMinute = 0;
    double elapsedMinusTicksMs = 0;  // elapsed time minus 15 ms a period
    std::size_t stalls = 0;          // schedule restarts
    // A tick late by less than a period keeps its schedule, so the next one
    // comes sooner (a catch-up, a period under 7.5 ms). A burst is a catch-up
    // that follows another.
    std::size_t catchUps = 0;
    std::size_t bursts = 0;
};

// The figures of `count` tick times in milliseconds, in increasing order.
// Fewer than three ticks give all zeros.
PeriodFigures periodFigures(const double* tickMs, std::size_t count);

}  // namespace kolvane::bench
