#include "server/verifier_pool.h"

#include <pthread.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "server/verifier.h"

namespace kolvane::server {

namespace {

// Nice value of the workers: the threads that answer requests go first.
constexpr int kWorkerNice = 10;
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
// After a database error, before a worker tries again.
constexpr auto kRetryPause = std::chrono::milliseconds(500);

std::int64_t cpuNs(clockid_t clock) {
    timespec now{};
    if (clock_gettime(clock, &now) != 0) return 0;
    return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

}  // namespace

VerifierPool::VerifierPool(Store& store, Metrics& metrics, std::function<std::int64_t()> nowMs,
                           VerifierSettings settings,
                           std::function<void(const JobOutcome&)> verdict)
    : store_(store),
      metrics_(metrics),
      nowMs_(std::move(nowMs)),
      settings_(std::move(settings)),
      verdict_(std::move(verdict)) {}

VerifierPool::~VerifierPool() {
    stop();
}

void VerifierPool::start() {
    for (int i = 0; i < settings_.workers; ++i) {
        workers_.push_back(std::make_unique<Worker>());
        Worker& worker = *workers_.back();
        worker.thread = std::thread([this, &worker] { run(worker); });
    }
    watchdog_ = std::thread([this] { watch(); });
}

void VerifierPool::wake() {
    {
        const std::lock_guard lock(mutex_);
        ++wakeups_;
    }
    wake_.notify_one();
}

void VerifierPool::stop() {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ && workers_.empty()) return;
        stopping_ = true;
    }
    wake_.notify_all();
    stopped_.notify_all();
    if (watchdog_.joinable()) watchdog_.join();
    for (auto& worker : workers_) {
        worker->cancel = true;
        if (worker->thread.joinable()) worker->thread.join();
    }
    workers_.clear();
}

void VerifierPool::run(Worker& worker) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    clockid_t clock{};
    if (pthread_getcpuclockid(pthread_self(), &clock) == 0) worker.clock = clock;
    std::uint64_t seen = 0;
    bool failing = false;
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) return;
            seen = wakeups_;
        }
        std::optional<Job> job;
        const StoreResult claimed =
            store_.claimJob(settings_.owner, nowMs_(), settings_.leaseMs, job);
        if (claimed.ok() && job) {
            worker.cancel = false;
            worker.startCpuNs = cpuNs(CLOCK_THREAD_CPUTIME_ID);
            worker.busy = true;
            JobOutcome outcome = verifyJob(*job, nowMs_(), &worker.cancel, settings_.cpuCapMs);
            worker.busy = false;
            outcome.verifyMicros = (cpuNs(CLOCK_THREAD_CPUTIME_ID) - worker.startCpuNs) / 1000;
            {
                const std::lock_guard lock(mutex_);
                if (stopping_) return;  // cancelled by stop(): leave it to the lease
            }
            bool done = false;
            const StoreResult finished = store_.finishJob(outcome, done);
            if (!finished.ok()) {
                std::fprintf(stderr, "kolvane-server: cannot record a verdict: %s\n",
                             finished.message.c_str());
                metrics_.job("failed", 0);
                std::this_thread::sleep_for(kRetryPause);
                continue;
            }
            if (done) {
                metrics_.job(!outcome.verified ? "rejected"
                             : outcome.best    ? "ranked"
                                               : "unranked",
                             static_cast<double>(outcome.verifyMicros) / 1e6);
                verdict_(outcome);
            }
            continue;
        }
        // Said once when the database stops answering, and once when it is back.
        if (!claimed.ok() && !failing) {
            std::fprintf(stderr, "kolvane-server: cannot take a job: %s\n",
                         claimed.message.c_str());
        } else if (claimed.ok() && failing) {
            std::fprintf(stderr, "kolvane-server: taking jobs again\n");
        }
        failing = !claimed.ok();
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock,
                       claimed.ok() ? std::chrono::milliseconds(settings_.pollMs) : kRetryPause,
                       [&] { return stopping_ || wakeups_ != seen; });
    }
}

void VerifierPool::watch() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (stopped_.wait_for(lock, kWatchPeriod, [&] { return stopping_; })) return;
        }
        for (auto& worker : workers_) {
            if (!worker->busy) continue;
            const std::int64_t used = cpuNs(worker->clock) - worker->startCpuNs;
            if (used > settings_.cpuCapMs * 1000000) worker->cancel = true;
        }
    }
}

}  // namespace kolvane::server
