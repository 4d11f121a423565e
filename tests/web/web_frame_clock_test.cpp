#include <gtest/gtest.h>

#include "app/web/frame_clock.h"

namespace kolvane::web {
namespace {

// Runs frames every `stepMs` for `frames` frames after a first one at 0 and
// returns the ticks they ran.
int ticksOver(FrameClock& clock, double stepMs, int frames) {
    clock.ticksDue(0.0);
    int ticks = 0;
    for (int i = 1; i <= frames; ++i) ticks += clock.ticksDue(stepMs * i);
    return ticks;
}

TEST(WebFrameClock, TheFirstFrameOnlyStartsTheCount) {
    FrameClock clock;
    EXPECT_EQ(clock.ticksDue(1234.0), 0);
    EXPECT_EQ(clock.ticksDue(1234.0 + 14.9), 0);
    EXPECT_EQ(clock.ticksDue(1234.0 + 15.0), 1);
}

TEST(WebFrameClock, SixtyHertzRunsATickEvery15Ms) {
    FrameClock clock;
    // 600 frames of 1/60 s: 10 s, so 666 ticks with 10 ms left over.
    EXPECT_EQ(ticksOver(clock, 1000.0 / 60.0, 600), 666);
    EXPECT_NEAR(clock.pendingMs(), 10.0, 1e-6);
}

TEST(WebFrameClock, FastDisplaysRunAtMostOneTickAFrame) {
    FrameClock clock;
    clock.ticksDue(0.0);
    int ticks = 0;
    for (int i = 1; i <= 1440; ++i) {
        const int due = clock.ticksDue(1000.0 / 144.0 * i);
        EXPECT_LE(due, 1);
        ticks += due;
    }
    EXPECT_EQ(ticks, 666);
}

TEST(WebFrameClock, SlowFramesCatchUpWithinTheCap) {
    FrameClock clock;
    clock.ticksDue(0.0);
    EXPECT_EQ(clock.ticksDue(45.0), 3);
    EXPECT_EQ(clock.ticksDue(105.0), FrameClock::kMaxTicksPerFrame);
    EXPECT_DOUBLE_EQ(clock.pendingMs(), 0.0);
}

TEST(WebFrameClock, BacklogBeyondTheCapIsDropped) {
    FrameClock clock;
    clock.ticksDue(0.0);
    EXPECT_EQ(clock.ticksDue(200.0), FrameClock::kMaxTicksPerFrame);
    EXPECT_DOUBLE_EQ(clock.pendingMs(), 0.0);
    EXPECT_EQ(clock.ticksDue(210.0), 0);
}

TEST(WebFrameClock, AHiddenTabResumesWithOneTick) {
    FrameClock clock;
    clock.ticksDue(0.0);
    clock.ticksDue(10.0);
    EXPECT_EQ(clock.ticksDue(60000.0), 1);
    EXPECT_DOUBLE_EQ(clock.pendingMs(), 0.0);
    // And the pace is the usual one from then on.
    EXPECT_EQ(clock.ticksDue(60014.0), 0);
    EXPECT_EQ(clock.ticksDue(60015.0), 1);
}

TEST(WebFrameClock, AClockGoingBackRunsOneTickAndStartsAfresh) {
    FrameClock clock;
    clock.ticksDue(100.0);
    clock.ticksDue(110.0);
    EXPECT_EQ(clock.ticksDue(50.0), 1);
    EXPECT_EQ(clock.ticksDue(64.0), 0);
    EXPECT_EQ(clock.ticksDue(65.0), 1);
}

}  // namespace
}  // namespace kolvane::web
