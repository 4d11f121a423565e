// The window's tick clock: 15 ms ticks without drift, and after a stall one
// tick with a fresh schedule instead of a burst of catch-up ticks.
#include <gtest/gtest.h>

#include <chrono>

#include "app/sdl/tick_pacer.h"

namespace kolvane::sdl {
namespace {

using namespace std::chrono_literals;
using Clock = TickPacer::Clock;

const Clock::time_point kStart = Clock::time_point{} + 1000s;

TEST(TickPacer, FirstTickIsDueOnePeriodAfterStart) {
    TickPacer pacer(kStart);
    EXPECT_FALSE(pacer.takeTick(kStart));
    EXPECT_FALSE(pacer.takeTick(kStart + 14999us));
    EXPECT_TRUE(pacer.takeTick(kStart + 15ms));
    EXPECT_FALSE(pacer.takeTick(kStart + 15ms));
}

TEST(TickPacer, WaitIsRoundedUpToWholeMilliseconds) {
    TickPacer pacer(kStart);
    EXPECT_EQ(pacer.waitMilliseconds(kStart), 15);
    EXPECT_EQ(pacer.waitMilliseconds(kStart + 800us), 15);  // 14.2 ms left
    EXPECT_EQ(pacer.waitMilliseconds(kStart + 14999us), 1);
    EXPECT_EQ(pacer.waitMilliseconds(kStart + 15ms), 0);
    EXPECT_EQ(pacer.waitMilliseconds(kStart + 40ms), 0);
}

TEST(TickPacer, LateWakeUpKeepsTheSchedule) {
    TickPacer pacer(kStart);
    ASSERT_TRUE(pacer.takeTick(kStart + 20ms));  // 5 ms late
    EXPECT_EQ(pacer.deadline(), kStart + 30ms);
    EXPECT_EQ(pacer.waitMilliseconds(kStart + 20ms), 10);
}

TEST(TickPacer, StallRunsOneTickAndRestartsTheSchedule) {
    TickPacer pacer(kStart);
    const auto late = kStart + 15ms + 200ms;
    EXPECT_TRUE(pacer.takeTick(late));
    EXPECT_FALSE(pacer.takeTick(late));
    EXPECT_FALSE(pacer.takeTick(late + 14ms));
    EXPECT_EQ(pacer.deadline(), late + 15ms);
}

TEST(TickPacer, LateByExactlyOnePeriodCountsAsAStall) {
    TickPacer pacer(kStart);
    ASSERT_TRUE(pacer.takeTick(kStart + 30ms));
    EXPECT_EQ(pacer.deadline(), kStart + 45ms);
    EXPECT_FALSE(pacer.takeTick(kStart + 30ms));
}

TEST(TickPacer, JitteryWakeUpsStillGiveSixtySixTicksASecond) {
    TickPacer pacer(kStart);
    int ticks = 0;
    int jitter = 0;
    // Wake-ups land up to 13 ms after each deadline.
    for (auto now = kStart; now < kStart + 10s;) {
        now = pacer.deadline() + std::chrono::milliseconds(jitter);
        if (now >= kStart + 10s) break;
        if (pacer.takeTick(now)) ++ticks;
        jitter = (jitter + 7) % 14;
    }
    EXPECT_EQ(ticks, 666);  // 10 s / 15 ms, with no drift
}

}  // namespace
}  // namespace kolvane::sdl
