#pragma once
// Paces the 15 ms tick from the display's frame callbacks: the time since the
// last frame is added up, and every whole period in it is one tick due now.
// A frame runs at most kMaxTicksPerFrame ticks and drops any further backlog,
// and after a long gap (a hidden tab, a stalled page) the count starts afresh
// with one tick, so no burst of catch-up ticks ever follows.
namespace kolvane::web {

class FrameClock {
public:
    static constexpr double kPeriodMs = 15.0;
    static constexpr int kMaxTicksPerFrame = 4;
    static constexpr double kLongGapMs = 250.0;

    // The number of ticks due at a frame shown at `nowMs` (milliseconds on
    // any steady clock). The first frame only starts the count.
    int ticksDue(double nowMs) {
        if (!started_) {
            started_ = true;
            lastMs_ = nowMs;
            return 0;
        }
        const double gap = nowMs - lastMs_;
        lastMs_ = nowMs;
        if (!(gap >= 0.0) || gap > kLongGapMs) {
            // A clock that went back or a long absence: one tick, and a fresh count.
            pendingMs_ = 0.0;
            return 1;
        }
        pendingMs_ += gap;
        int due = 0;
        while (pendingMs_ >= kPeriodMs && due < kMaxTicksPerFrame) {
            pendingMs_ -= kPeriodMs;
            ++due;
        }
        if (pendingMs_ >= kPeriodMs) pendingMs_ = 0.0;  // more than a frame may run
        return due;
    }

    // Time counted towards the next tick.
    double pendingMs() const { return pendingMs_; }

private:
    bool started_ = false;
    double lastMs_ = 0.0;
    double pendingMs_ = 0.0;
};

}  // namespace kolvane::web
