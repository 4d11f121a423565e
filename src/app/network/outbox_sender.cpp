#include "app/network/outbox_sender.h"

namespace kolvane {

std::vector<OutboxEvent> sendOutbox(const Outbox& outbox, LeaderboardClient& client,
                                    const PlayerIdentity& player) {
    std::vector<OutboxEvent> events;
    const std::vector<std::string> names = outbox.waiting();
    if (names.empty()) return events;
    if (!player.name) {
        events.push_back({OutboxEventKind::kWaiting, names.front(), std::nullopt,
                          "no player name set to send recordings under"});
        return events;
    }
    std::string error;
    const std::optional<PlayerKey> key = loadOrCreatePlayerKey(player.keyFile, error);
    if (!key) {
        events.push_back(
            {OutboxEventKind::kWaiting, names.front(), std::nullopt, "no player key: " + error});
        return events;
    }
    for (const std::string& name : names) {
        std::string recording;
        if (!outbox.read(name, recording, error)) {
            outbox.setAside(name, error);
            events.push_back({OutboxEventKind::kRefused, name, std::nullopt, error});
            continue;
        }
        const ServerAnswer<Submission> answer = client.submit(recording, *player.name, *key);
        if (answer) {
            outbox.remove(name);
            events.push_back({OutboxEventKind::kSent, name, answer.value->id, ""});
        } else if (answer.error.problem == ServerProblem::kRefused) {
            outbox.setAside(name, answer.error.text);
            events.push_back({OutboxEventKind::kRefused, name, std::nullopt, answer.error.text});
        } else {
            events.push_back({OutboxEventKind::kWaiting, name, std::nullopt, answer.error.text});
            break;
        }
    }
    return events;
}

}  // namespace kolvane
