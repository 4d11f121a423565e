#include "bench/pacing_figures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kolvane::bench {

namespace {
constexpr double kPeriodMs = 15.0;

double quantile(const std::vector<double>& sorted, double q) {
    return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1))];
}
}  // namespace

PeriodFigures periodFigures(const double* tickMs, std::size_t count) {
    PeriodFigures f;
    if (tickMs == nullptr || count < 3) return f;
    const std::size_t n = count - 1;  // periods
    std::vector<double> periods(n);
    std::vector<double> deviations(n);
    for (std::size_t i = 0; i < n; ++i) {
        periods[i] = tickMs[i + 1] - tickMs[i];
        deviations[i] = std::fabs(periods[i] - kPeriodMs);
    }

    double due = tickMs[0];
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    bool previousShort = false;
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0) {
            const double p = periods[k - 1];
            const bool isShort = p < kPeriodMs / 2;
            f.catchUps += isShort ? 1 : 0;
            f.bursts += isShort && previousShort ? 1 : 0;
            previousShort = isShort;
            due += kPeriodMs;
            // A whole period late: the pacer starts its schedule again here.
            if (tickMs[k] - due >= kPeriodMs) {
                ++f.stalls;
                due = tickMs[k];
            }
        }
        const double x = static_cast<double>(k) * kPeriodMs;
        const double late = tickMs[k] - due;
        sx += x;
        sy += late;
        sxx += x * x;
        sxy += x * late;
        f.latenessMaxMs = std::max(f.latenessMaxMs, std::fabs(late));
    }
    const double m = static_cast<double>(count);
    f.driftMsPerMinute = (m * sxy - sx * sy) / (m * sxx - sx * sx) * 60000.0;

    const double span = tickMs[n] - tickMs[0];
    f.ticks = count;
    f.meanMs = span / static_cast<double>(n);
    f.elapsedMinusTicksMs = span - static_cast<double>(n) * kPeriodMs;
    std::sort(periods.begin(), periods.end());
    std::sort(deviations.begin(), deviations.end());
    f.p50Ms = quantile(periods, 0.5);
    f.p99Ms = quantile(periods, 0.99);
    f.minMs = periods.front();
    f.maxMs = periods.back();
    f.deviationP99Ms = quantile(deviations, 0.99);
    f.deviationMaxMs = deviations.back();
    return f;
}

}  // namespace kolvane::bench
