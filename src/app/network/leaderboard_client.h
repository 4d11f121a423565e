#pragma once
// The leaderboard server's API (api_fields.h) over an HttpClient: one call a
// request, each waiting for its answer (bounded by the client's time-outs),
// so it runs on the network worker or in a command-line action, never on the
// ticking thread. Every answer is checked (status, size, shape) before it
// becomes a value.
#include <string_view>

#include "app/network/http_client.h"
#include "app/network/leaderboard_types.h"
#include "app/network/player_key.h"
#include "app/network/server_url.h"

namespace kolvane {

class LeaderboardClient {
public:
    LeaderboardClient(HttpClient& http, ServerUrl server)
        : http_(http), server_(std::move(server)) {}

    ServerAnswer<Ticket> fetchTicket();
    // The recording's bytes (at most api::kMaxRecordingBytes), sent under the
    // player's name and key.
    ServerAnswer<Submission> submit(std::string_view recording, const PlayerName& player,
                                    const PlayerKey& key);
    ServerAnswer<Verdict> fetchVerdict(const RecordingId& id);
    // limit 1 to api::kMaxTableLimit, offset from 0.
    ServerAnswer<WorldTable> fetchWorldTable(int limit, int offset);

    const ServerUrl& server() const { return server_; }

private:
    HttpClient& http_;
    ServerUrl server_;
};

}  // namespace kolvane
