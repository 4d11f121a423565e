#pragma once
// One thread that does a desktop window's file writes (the recording, the
// high-score table, the settings) in the order they were handed over, so that
// the thread that ticks never waits on a disk. A job posted is run once, on
// that thread; drain() and the destructor wait for every job posted before
// them, so nothing handed over is lost at exit. (A process that crashes
// loses what was not yet written, as it would have lost what it had not yet
// handed over.) The web page has no threads: its store writes at once.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kolvane {

class BackgroundWriter {
public:
    using Job = std::function<void()>;

    BackgroundWriter();
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Runs job after every job posted before it. Never waits for a write.
    void post(Job job);
    // Waits until every job posted so far has run.
    void drain();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;  // the thread: a job, or the end
    std::condition_variable done_;  // drain(): the queue ran dry
    std::deque<Job> jobs_;
    bool busy_ = false;  // a job is running
    bool ending_ = false;
    std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace kolvane
