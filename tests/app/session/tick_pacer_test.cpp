// The tick pacer: 15 ms ticks without drift, catch-up within the cap, and
// after a stall one tick with a fresh schedule instead of a burst.
#include "app/session/tick_pacer.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

constexpr double kStart = 1000.0;

// Calls every `stepMs` for `calls` calls and returns the ticks run.
int ticksOver(TickPacer& pacer, double stepMs, int calls) {
    int ticks = 0;
    for (int i = 1; i <= calls; ++i) ticks += pacer.ticksDue(kStart + stepMs * i);
    return ticks;
}

TEST(TickPacer, FirstTickIsDueOnePeriodAfterStart) {
    TickPacer pacer(kStart, 1);
    EXPECT_EQ(pacer.ticksDue(kStart), 0);
    EXPECT_EQ(pacer.ticksDue(kStart + 14.999), 0);
    EXPECT_EQ(pacer.ticksDue(kStart + 15.0), 1);
    EXPECT_EQ(pacer.ticksDue(kStart + 15.0), 0);
}

TEST(TickPacer, LateWakeUpKeepsTheSchedule) {
    TickPacer pacer(kStart, 1);
    ASSERT_EQ(pacer.ticksDue(kStart + 20.0), 1);  // 5 ms late
    EXPECT_DOUBLE_EQ(pacer.deadlineMs(), kStart + 30.0);
}

TEST(TickPacer, StallRunsOneTickAndRestartsTheSchedule) {
    TickPacer window(kStart, 1);
    EXPECT_EQ(window.ticksDue(kStart + 30.0), 1);  // late by a whole period
    EXPECT_DOUBLE_EQ(window.deadlineMs(), kStart + 45.0);
    TickPacer page(kStart, 4);
    EXPECT_EQ(page.ticksDue(kStart + 60000.0), 1);  // a hidden page
    EXPECT_EQ(page.ticksDue(kStart + 60014.0), 0);
    EXPECT_EQ(page.ticksDue(kStart + 60015.0), 1);
}

TEST(TickPacer, CatchesUpWithinTheCap) {
    TickPacer pacer(kStart, 4);
    EXPECT_EQ(pacer.ticksDue(kStart + 45.0), 3);
    EXPECT_EQ(pacer.ticksDue(kStart + 105.0), 4);
    EXPECT_EQ(pacer.ticksDue(kStart + 180.0), 1) << "five owed: a stall";
}

TEST(TickPacer, EveryPaceGivesSixtySixTicksASecond) {
    TickPacer window(kStart, 1);
    int ticks = 0;
    // Wake-ups land up to 13 ms after each deadline.
    for (int jitter = 0;; jitter = (jitter + 7) % 14) {
        const double now = window.deadlineMs() + jitter;
        if (now >= kStart + 10000.0) break;
        ticks += window.ticksDue(now);
    }
    EXPECT_EQ(ticks, 666);  // 10 s / 15 ms, with no drift
    TickPacer sixty(kStart, 4);
    EXPECT_EQ(ticksOver(sixty, 1000.0 / 60.0, 600), 666);
    TickPacer fast(kStart, 4);
    EXPECT_EQ(ticksOver(fast, 1000.0 / 144.0, 1440), 666);
}

TEST(TickPacer, AClockGoingBackStartsAfresh) {
    TickPacer pacer(kStart, 4);
    EXPECT_EQ(pacer.ticksDue(kStart - 50.0), 0);
    EXPECT_EQ(pacer.ticksDue(kStart - 36.0), 0);
    EXPECT_EQ(pacer.ticksDue(kStart - 35.0), 1);
}

}  // namespace
}  // namespace kolvane
