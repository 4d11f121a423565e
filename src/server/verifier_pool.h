#pragma once
// The worker threads that verify: each claims the oldest queued recording
// from the store, verifies it and records the verdict, then claims the next.
// Idle workers wake when this process queues a recording and every
// pollMs besides (for recordings queued by other servers). Workers run at a
// lower priority than the threads that answer requests, and a watchdog stops
// a verification that exceeds its CPU-time cap.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/metrics.h"
#include "server/store.h"

namespace kolvane::server {

struct VerifierSettings {
    int workers = 1;
    std::int64_t cpuCapMs = 60000;
    std::int64_t leaseMs = 120000;
    std::int64_t pollMs = 250;
    std::string owner;  // names this process in the leases it takes
};

class VerifierPool {
public:
    // verdict: called after each verdict recorded (the table may have changed).
    VerifierPool(Store& store, Metrics& metrics, std::function<std::int64_t()> nowMs,
                 VerifierSettings settings, std::function<void(const JobOutcome&)> verdict);
    ~VerifierPool();
    VerifierPool(const VerifierPool&) = delete;
    VerifierPool& operator=(const VerifierPool&) = delete;

    void start();
    // A recording was queued: an idle worker looks now.
    void wake();
    // Stops every worker after its current job (the job's lease then runs out
    // and another worker takes it if its verdict was not recorded).
    void stop();

private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> cancel{false};
        std::atomic<bool> busy{false};
        std::atomic<std::int64_t> startCpuNs{0};
        std::atomic<clockid_t> clock{};
    };

    void run(Worker& worker);
    void watch();

    Store& store_;
    Metrics& metrics_;
    std::function<std::int64_t()> nowMs_;
    VerifierSettings settings_;
    std::function<void(const JobOutcome&)> verdict_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::thread watchdog_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable stopped_;  // the watchdog's
    std::uint64_t wakeups_ = 0;
    bool stopping_ = false;
};

}  // namespace kolvane::server
