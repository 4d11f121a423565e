#pragma once
// A verification job from start to verdict, without the database: the
// recording replayed through the runner's verification, then the ranking
// rules applied to what verified.
#include <atomic>
#include <cstdint>

#include "server/store.h"

namespace kolvane::server {

// A job claimed this many times without a verdict (its workers died on it)
// is rejected rather than tried again.
inline constexpr int kMaxAttempts = 3;

// The verdict on a claimed job. nowMs: when it is given; cancel: set by the
// CPU-time cap (the verdict is then a rejection saying so).
JobOutcome verifyJob(const Job& job, std::int64_t nowMs, const std::atomic<bool>* cancel,
                     std::int64_t cpuCapMs);

}  // namespace kolvane::server
