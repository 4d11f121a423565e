#pragma once
// Sends the outbox: every waiting recording, oldest first, under the player's
// name and key (the key is made on the first recording sent, see
// player_key.h). It stops at the first that can't be sent for now (offline,
// the server down or busy): that one and the rest wait for a later try.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/network/leaderboard_client.h"
#include "app/network/outbox.h"

namespace kolvane {

enum class OutboxEventKind {
    kSent,       // the server has it: id set
    kRefused,    // refused for good and set aside: reason set
    kNotQueued,  // could not be put in the outbox (the disk): reason set
    kWaiting,    // not sent now; it and any after it wait: reason set
};

struct OutboxEvent {
    OutboxEventKind kind = OutboxEventKind::kSent;
    std::string name;               // the recording's name
    std::optional<RecordingId> id;  // kSent
    std::string reason;             // printable, one line
};

struct PlayerIdentity {
    std::optional<PlayerName> name;  // nothing: no valid name set, nothing is sent
    std::filesystem::path keyFile;   // configFolder() / kPlayerKeyFileName
};

// What happened to each recording tried, in order.
std::vector<OutboxEvent> sendOutbox(const Outbox& outbox, LeaderboardClient& client,
                                    const PlayerIdentity& player);

}  // namespace kolvane
