#include "server/leaderboard_server.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "server/http_front.h"
#include "server/leaderboard.h"
#include "server/metrics.h"
#include "server/store.h"
#include "server/verifier_pool.h"
#include "server/verifier_processes.h"

namespace kolvane::server {

std::int64_t systemNowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

LeaderboardServer::LeaderboardServer(ServerOptions options, std::function<std::int64_t()> nowMs)
    : options_(std::move(options)),
      nowMs_(std::move(nowMs)),
      metrics_(std::make_unique<Metrics>()) {}

LeaderboardServer::~LeaderboardServer() {
    stop();
}

bool LeaderboardServer::open(std::string& error) {
    const int workers = options_.workers >= 0
                            ? options_.workers
                            : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    // Requests borrow a connection for one query at a time; more would only
    // queue inside the database.
    store_ = openStore(options_.db, options_.verifierProcess ? 1 : 8, error);
    if (!store_) return false;

    if (options_.verifierProcess) {
        VerifierSettings verifier;
        verifier.cpuCapMs = std::int64_t{options_.cpuCapSeconds} * 1000;
        verifier.leaseMs = std::int64_t{options_.leaseSeconds} * 1000;
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        verifier.owner = std::string(host) + ":" + std::to_string(getpid());
        verifier_ = std::make_unique<VerifierPool>(*store_, *metrics_, nowMs_, verifier,
                                                   [](const JobOutcome&) {});
        return true;
    }
    verifierProcesses_ = std::make_unique<VerifierProcesses>(
        options_.verifierProgram,
        std::vector<std::string>{"--verifier-process", "--db", options_.db, "--cpu-cap",
                                 std::to_string(options_.cpuCapSeconds), "--lease",
                                 std::to_string(options_.leaseSeconds)},
        workers);
    if (options_.verifyOnly) return true;

    LeaderboardSettings settings;
    // A burst of up to a third of a minute's allowance (at least one, at
    // most ten, or twenty tickets) may come at once.
    settings.submitsPerMinute = options_.submitsPerMinute;
    settings.submitBurst = std::clamp(options_.submitsPerMinute / 3, 1, 10);
    settings.ticketsPerMinute = options_.ticketsPerMinute;
    settings.ticketBurst = std::clamp(options_.ticketsPerMinute / 3, 1, 20);
    leaderboard_ = std::make_unique<Leaderboard>(*store_, *metrics_, nowMs_, settings);
    if (!leaderboard_->start(error)) return false;
    leaderboard_->onQueued([this] { verifierProcesses_->wake(); });
    HttpSettings http;
    http.host = options_.host;
    http.port = options_.port;
    http.threads = options_.threads;
    http.webDir = options_.webDir;
    http.cors = options_.cors;
    http.behindProxy = options_.behindProxy;
    http_ = std::make_unique<HttpFront>(*leaderboard_, *metrics_, http);
    return http_->bind(error);
}

int LeaderboardServer::port() const {
    return http_ ? http_->port() : 0;
}

void LeaderboardServer::run() {
    if (verifier_) verifier_->start();
    if (verifierProcesses_) verifierProcesses_->start();
    if (http_) {
        http_->run();
    } else {
        std::unique_lock lock(mutex_);
        stopped_.wait(lock, [&] { return stopping_; });
    }
    if (verifierProcesses_) verifierProcesses_->stop();
    if (verifier_) verifier_->stop();
}

void LeaderboardServer::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (http_) http_->stop();
}

void LeaderboardServer::wake() {
    if (verifier_) verifier_->wake();
}

}  // namespace kolvane::server
