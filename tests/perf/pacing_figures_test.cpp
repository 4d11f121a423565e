// The figures the measurement build reports about its tick times.
#include "bench/pacing_figures.h"

#include <gtest/gtest.h>

#include <vector>

namespace kolvane::bench {
namespace {

std::vector<double> regularTicks(int count, double start = 100.0) {
    std::vector<double> t;
    for (int i = 0; i < count; ++i) t.push_back(start + 15.0 * i);
    return t;
}

TEST(PacingFigures, PerfectTicks) {
    const std::vector<double> t = regularTicks(1000);
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_EQ(f.ticks, 1000u);
    EXPECT_NEAR(f.meanMs, 15.0, 1e-9);
    EXPECT_NEAR(f.p50Ms, 15.0, 1e-9);
    EXPECT_NEAR(f.deviationMaxMs, 0.0, 1e-9);
    EXPECT_NEAR(f.driftMsPerMinute, 0.0, 1e-9);
    EXPECT_EQ(f.stalls + f.catchUps + f.bursts, 0u);
}

TEST(PacingFigures, SlowClockDrifts) {
    std::vector<double> t;
    for (int i = 0; i < 4001; ++i) t.push_back(15.001 * i);  // 4000 periods: one minute
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_NEAR(f.meanMs, 15.001, 1e-9);
    EXPECT_NEAR(f.driftMsPerMinute, 4.0, 1e-6);  // 0.001 ms a tick, 4000 ticks a minute
    EXPECT_NEAR(f.elapsedMinusTicksMs, 4.0, 1e-6);
    EXPECT_EQ(f.stalls, 0u);
}

TEST(PacingFigures, LateTickThenOneCatchUpIsNoBurstAndNoDrift) {
    std::vector<double> t = regularTicks(400);
    t[200] += 12.0;  // 12 ms late; the next keeps its time
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_EQ(f.catchUps, 1u);  // a 3 ms period
    EXPECT_EQ(f.bursts, 0u);
    EXPECT_EQ(f.stalls, 0u);
    EXPECT_NEAR(f.deviationMaxMs, 12.0, 1e-9);
    EXPECT_NEAR(f.latenessMaxMs, 12.0, 1e-9);
    EXPECT_NEAR(f.meanMs, 15.0, 1e-9);
    EXPECT_LT(f.driftMsPerMinute, 0.5);
}

TEST(PacingFigures, StallRestartsTheScheduleWithoutCountingAsDrift) {
    std::vector<double> t = regularTicks(400);
    for (std::size_t i = 200; i < t.size(); ++i) t[i] += 40.0;  // one 55 ms period
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_EQ(f.stalls, 1u);
    EXPECT_NEAR(f.maxMs, 55.0, 1e-9);
    EXPECT_NEAR(f.latenessMaxMs, 0.0, 1e-9);
    EXPECT_NEAR(f.driftMsPerMinute, 0.0, 1e-9);
    EXPECT_NEAR(f.elapsedMinusTicksMs, 40.0, 1e-9);
}

TEST(PacingFigures, CatchUpsInARowAreABurst) {
    std::vector<double> t = regularTicks(100);
    t.insert(t.begin() + 50, {t[49] + 2.0, t[49] + 4.0, t[49] + 6.0});
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_EQ(f.bursts, 2u);
}

TEST(PacingFigures, LateAfterALateTickRestartsTheScheduleToo) {
    std::vector<double> t = regularTicks(400);
    t[100] += 5.0;                                              // 5 ms late, kept
    for (std::size_t i = 101; i < t.size(); ++i) t[i] += 16.0;  // 16 ms late: restart
    const PeriodFigures f = periodFigures(t.data(), t.size());
    EXPECT_EQ(f.stalls, 1u);  // its period is only 26 ms
    EXPECT_NEAR(f.driftMsPerMinute, 0.0, 0.5);
}

TEST(PacingFigures, TooFewTicksGiveNothing) {
    const std::vector<double> t = regularTicks(2);
    EXPECT_EQ(periodFigures(t.data(), t.size()).ticks, 0u);
    EXPECT_EQ(periodFigures(nullptr, 10).ticks, 0u);
}

}  // namespace
}  // namespace kolvane::bench
