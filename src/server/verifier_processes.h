#pragma once
// The verifier processes of one server: the game keeps its random generator
// and its clock once per process, so one process replays one recording at a
// time, and a server verifies on several cores by starting several copies of
// itself, each verifying on one thread (`--verifier-process`). They share the
// database's queue like any verifier-only process elsewhere. A process that
// dies is started again after a pause; each one ends with its server (the
// kernel tells it when the server dies, however it dies).
#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kolvane::server {

class VerifierProcesses {
public:
    // program: the kolvane-server to start; arguments: what follows its name.
    VerifierProcesses(std::string program, std::vector<std::string> arguments, int count);
    ~VerifierProcesses();
    VerifierProcesses(const VerifierProcesses&) = delete;
    VerifierProcesses& operator=(const VerifierProcesses&) = delete;

    void start();
    // A recording was queued: every idle verifier looks now (SIGUSR1).
    void wake();
    // Asks every process to finish its job and end, and waits for them.
    void stop();

private:
    pid_t spawn() const;
    void supervise();

    std::string program_;
    std::vector<std::string> arguments_;
    int count_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<pid_t> running_;
    bool stopping_ = false;
    std::thread supervisor_;
};

}  // namespace kolvane::server
