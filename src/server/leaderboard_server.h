#pragma once
// One kolvane-server process: the store, the leaderboard's API over HTTP and
// its verifier processes (with --verify-only, the verifier processes alone);
// or one of those verifier processes, which verifies on one thread. The clock
// is given, so that tests can move it.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "server/server_options.h"

namespace kolvane::server {

class Store;
class Metrics;
class Leaderboard;
class HttpFront;
class VerifierPool;
class VerifierProcesses;

class LeaderboardServer {
public:
    LeaderboardServer(ServerOptions options, std::function<std::int64_t()> nowMs);
    ~LeaderboardServer();
    LeaderboardServer(const LeaderboardServer&) = delete;
    LeaderboardServer& operator=(const LeaderboardServer&) = delete;

    // Opens the database (options.db must be set) and binds the address;
    // false with error set.
    bool open(std::string& error);
    // The port answering requests (0 with --verify-only).
    int port() const;
    // Verifies and answers until stop(), then lets the verifiers finish their
    // current jobs.
    void run();
    void stop();
    // A recording was queued elsewhere (SIGUSR1): the verifier looks now.
    void wake();

private:
    ServerOptions options_;
    std::function<std::int64_t()> nowMs_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<Metrics> metrics_;
    std::unique_ptr<Leaderboard> leaderboard_;
    std::unique_ptr<HttpFront> http_;
    std::unique_ptr<VerifierPool> verifier_;                // a verifier process's one thread
    std::unique_ptr<VerifierProcesses> verifierProcesses_;  // a server's verifier processes
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

// Milliseconds since 1970 by the system's clock.
std::int64_t systemNowMs();

}  // namespace kolvane::server
