#pragma once
// The API's requests, answered without knowing HTTP: each takes what the
// request carried (the client's address, query values, a header, the body)
// and returns the status, the JSON (or text) and any headers to send. The
// HTTP front (http_front.h) only routes to these; the fuzzer calls them
// directly.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/metrics.h"
#include "server/rate_limiter.h"
#include "server/store.h"

namespace kolvane::server {

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    std::vector<std::pair<std::string, std::string>> headers;
};

struct LeaderboardSettings {
    // Per client address; 0: no limit.
    int submitsPerMinute = 30;
    int submitBurst = 10;
    int ticketsPerMinute = 60;
    int ticketBurst = 20;
    // How long a table answered from memory may be: one second.
    std::int64_t tableCacheMs = 1000;
};

// The largest page of the table or of a player's games, and the default.
inline constexpr int kMaxPage = 100;
// How far a page may start.
inline constexpr int kMaxOffset = 1000000;
// A player's secret key: 16 to 128 of these characters.
inline constexpr std::string_view kKeyCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~+/=";

class Leaderboard {
public:
    Leaderboard(Store& store, Metrics& metrics, std::function<std::int64_t()> nowMs,
                LeaderboardSettings settings);

    // Reads (or makes) the key that signs tickets; false with error set.
    bool start(std::string& error);

    Reply issueTicket(const std::string& address);
    // POST /api/recordings?player=NAME with "Authorization: Bearer KEY".
    Reply submit(const std::string& address, std::string_view player,
                 std::string_view authorization, std::string_view body);
    Reply recording(const std::string& id);
    Reply file(const std::string& id);
    Reply scores(std::string_view limit, std::string_view offset);
    Reply player(std::string_view name, std::string_view limit, std::string_view offset);
    Reply health();
    Reply metrics();

    // Called after a verdict: the table answered from memory is stale.
    void tableChanged();
    // Called after a recording is queued (wakes this process's verifiers).
    void onQueued(std::function<void()> queued) { queued_ = std::move(queued); }

private:
    Reply storeFailure(const StoreResult& result) const;
    Reply tooMany(std::int64_t seconds) const;

    Store& store_;
    Metrics& metrics_;
    std::function<std::int64_t()> nowMs_;
    LeaderboardSettings settings_;
    std::string ticketKey_;
    RateLimiter submits_;
    RateLimiter tickets_;
    std::function<void()> queued_;

    struct CachedTable {
        std::string body;
        std::int64_t atMs = 0;
        bool refreshing = false;  // a request is asking the database for it
    };
    std::mutex tableMutex_;
    std::map<std::pair<int, int>, CachedTable> tables_;
};

// {"error": message}, for every status that is not a success.
Reply errorReply(int status, std::string_view message);

}  // namespace kolvane::server
