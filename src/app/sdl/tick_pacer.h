#pragma once
// Paces the 15 ms tick on a monotonic clock. Deadlines advance by whole
// periods, so a late wake-up doesn't shift the schedule; after a stall of a
// period or more one tick runs and the schedule restarts from then, so at
// most one tick is ever waiting and no burst of catch-up ticks follows.
#include <chrono>

namespace kolvane::sdl {

class TickPacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPeriod = std::chrono::milliseconds(15);

    explicit TickPacer(Clock::time_point start) : deadline_(start + kPeriod) {}

    // Time until the next tick is due; zero once it is.
    Clock::duration timeLeft(Clock::time_point now) const {
        return now < deadline_ ? deadline_ - now : Clock::duration::zero();
    }

    // Whole milliseconds to block for, rounded up so a wait never ends early.
    int waitMilliseconds(Clock::time_point now) const {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(timeLeft(now));
        return static_cast<int>(left.count());
    }

    // True when a tick is due at `now`; the deadline then moves on.
    bool takeTick(Clock::time_point now) {
        if (now < deadline_) return false;
        if (now - deadline_ >= kPeriod) {
            deadline_ = now + kPeriod;
        } else {
            deadline_ += kPeriod;
        }
        return true;
    }

    Clock::time_point deadline() const { return deadline_; }

private:
    Clock::time_point deadline_;
};

}  // namespace kolvane::sdl
