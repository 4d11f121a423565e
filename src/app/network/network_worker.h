#pragma once
// The leaderboard's background worker: one thread that takes jobs in the
// order they were posted (fetch a ticket, queue and send a recording, send
// the outbox, fetch a verdict, fetch the world table, read and keep the
// games the world table verified) and leaves each result in a mailbox. The ticking thread posts and
// polls without ever waiting on the disk or the network: posting and polling only take a lock the
// worker holds for a moment, and poll() gives up at once when it is held.
//
// At exit (stop() or the destructor) the request in flight is cancelled, the
// recordings still to be queued are written to the outbox (the disk only; the
// network waits for the next start), and the rest is dropped. stop() waits at
// most kExitWaitMs for that, then leaves the thread to finish by itself.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "app/network/http_client.h"
#include "app/network/leaderboard_client.h"
#include "app/network/outbox_sender.h"
#include "app/network/verified_games.h"

namespace kolvane {

struct NetworkSetup {
    ServerUrl server;
    PlayerIdentity player;
    std::filesystem::path outboxFolder;  // dataFolder() / kOutboxFolderName
    HttpTimeouts timeouts;
    std::filesystem::path verifiedFile;  // dataFolder() / kVerifiedGamesFileName
    // Where the worker says, one line each, what went wrong: a recording the
    // server refused or that waits, no ticket, a verdict "rejected". Null:
    // nowhere. Written on the worker's thread, never the caller's.
    std::FILE* log = nullptr;
};

struct TicketResult {
    ServerAnswer<Ticket> answer;
};
struct VerdictResult {
    RecordingId id;
    ServerAnswer<Verdict> answer;
};
struct WorldTableResult {
    ServerAnswer<WorldTable> answer;
};
struct VerifiedGamesResult {
    std::vector<VerifiedGameMark> games;  // as kept in the verified file
};
// One result a job, except sending the outbox (one OutboxEvent a recording)
// and keeping verified games (none).
using NetworkResult =
    std::variant<TicketResult, OutboxEvent, VerdictResult, WorldTableResult, VerifiedGamesResult>;

class NetworkWorker {
public:
    static constexpr int kExitWaitMs = 1000;

    // Starts the thread. http: the client to use; null for the platform's.
    explicit NetworkWorker(NetworkSetup setup, std::unique_ptr<HttpClient> http = nullptr);
    NetworkWorker(const NetworkWorker&) = delete;
    NetworkWorker& operator=(const NetworkWorker&) = delete;
    ~NetworkWorker() { stop(); }

    void fetchTicket();
    // Puts a finished game's recording in the outbox under its file name,
    // then sends the outbox.
    void submit(std::string name, std::string recording);
    // Sends what earlier runs left in the outbox.
    void sendOutbox();
    void fetchVerdict(const RecordingId& id);
    void fetchWorldTable(int limit);
    // Reads the verified file; adds games to it.
    void loadVerifiedGames();
    void keepVerifiedGames(std::vector<VerifiedGameMark> games);

    // The next result, or nothing (none yet, or the worker is handing one over).
    std::optional<NetworkResult> poll();
    // The next result, waiting for it until the deadline: for a program
    // before its first frame, never on the thread that ticks.
    std::optional<NetworkResult> waitForResult(std::chrono::steady_clock::time_point deadline);

    // Ends the worker, bounded by kExitWaitMs; later posts are ignored.
    void stop();

private:
    struct State;
    // Shared with the thread, which may outlive this object after stop().
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace kolvane
