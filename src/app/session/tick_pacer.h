#pragma once
// Paces the 15 ms tick on a steady clock, in milliseconds. Deadlines advance
// by whole periods, so a late wake-up doesn't shift the schedule. One call
// runs every tick owed, up to maxTicksPerCall; when more are owed (a stall,
// a hidden page) it runs one tick and the schedule starts again from then, so
// no burst of catch-up ticks ever follows a stall. The desktop windows wake
// for every tick and catch up none (one tick a call); the web page's frames
// come every 16.7 ms on a 60 Hz display, so two ticks are sometimes due at
// once, and it catches up to four.
#include "app/session/tick_and_field.h"

namespace kolvane {

class TickPacer {
public:
    static constexpr double kPeriodMs = kTickMilliseconds;

    // The first tick is due one period after startMs.
    TickPacer(double startMs, int maxTicksPerCall)
        : deadlineMs_(startMs + kPeriodMs), maxTicks_(maxTicksPerCall < 1 ? 1 : maxTicksPerCall) {}

    // The ticks to run now; the schedule moves on by as many periods.
    int ticksDue(double nowMs) {
        if (!(nowMs >= deadlineMs_)) {
            // A clock that went back by more than a period starts afresh.
            if (nowMs < deadlineMs_ - kPeriodMs) deadlineMs_ = nowMs + kPeriodMs;
            return 0;
        }
        const double owed = 1.0 + (nowMs - deadlineMs_) / kPeriodMs;
        if (owed >= maxTicks_ + 1.0) {
            deadlineMs_ = nowMs + kPeriodMs;
            return 1;
        }
        const int due = static_cast<int>(owed);
        deadlineMs_ += due * kPeriodMs;
        return due;
    }

    // When the next tick is due.
    double deadlineMs() const { return deadlineMs_; }

private:
    double deadlineMs_;
    int maxTicks_;
};

}  // namespace kolvane
