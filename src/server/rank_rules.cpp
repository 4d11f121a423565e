#include "server/rank_rules.h"

#include <array>
#include <vector>

namespace kolvane::server {

namespace {

constexpr int kKeys = 256;

std::string keyWord(int key) {
    std::array<char, 4> buffer{};
    return std::string(keyName(key, buffer));
}

}  // namespace

std::optional<std::string> implausibleInput(const Script& script) {
    // Per key: presses and repeats within the current tick, and the ticks
    // of its last presses (a ring as long as the per-second limit).
    std::array<int, kKeys> pressesNow{};
    std::array<int, kKeys> repeatsNow{};
    std::vector<std::array<std::int64_t, kMaxPressesInOneSecond>> recent(kKeys);
    std::array<int, kKeys> pressCount{};
    std::int64_t tick = 0;
    for (const Command& command : script.commands) {
        if (command.kind == CommandKind::kTick) {
            tick += command.count;
            pressesNow.fill(0);
            repeatsNow.fill(0);
            continue;
        }
        const int key = command.key & (kKeys - 1);
        if (command.kind == CommandKind::kRepeat && ++repeatsNow[key] > kMaxRepeatsInOneTick) {
            return keyWord(key) + " repeated " + std::to_string(repeatsNow[key]) +
                   " times within tick " + std::to_string(tick);
        }
        if (command.kind != CommandKind::kDown && command.kind != CommandKind::kPress) continue;
        if (++pressesNow[key] > kMaxPressesInOneTick) {
            return keyWord(key) + " pressed " + std::to_string(pressesNow[key]) +
                   " times within tick " + std::to_string(tick);
        }
        auto& ring = recent[static_cast<std::size_t>(key)];
        const int slot = pressCount[key] % kMaxPressesInOneSecond;
        if (pressCount[key] >= kMaxPressesInOneSecond && tick - ring[slot] < kTicksInOneSecond) {
            return keyWord(key) + " pressed " + std::to_string(kMaxPressesInOneSecond + 1) +
                   " times within a second (ticks " + std::to_string(ring[slot]) + " to " +
                   std::to_string(tick) + ")";
        }
        ring[slot] = tick;
        ++pressCount[key];
    }
    return std::nullopt;
}

std::optional<std::string> whyUnranked(const RankFacts& facts) {
    const ScriptSettings& settings = facts.script->settings;
    if (!facts.ticketIssuedAtMs) return "played without a ticket";
    const std::int64_t elapsedMs = facts.submittedAtMs - *facts.ticketIssuedAtMs;
    if (elapsedMs > kTicketLifetimeMs) return "submitted more than a day after its ticket";
    if (!settings.size || *settings.size != kRankedField) {
        const ClientSize size = settings.size.value_or(ClientSize{});
        return "played on a " + std::to_string(size.width) + "x" + std::to_string(size.height) +
               " field, not the windows' 740x580";
    }
    if (!settings.seed || *settings.seed != kRankedSeed) {
        return "started from seed " + std::to_string(settings.seed.value_or(0)) +
               ", not the windows' seed 1";
    }
    const std::int64_t playedMs = facts.ticks * 15;
    const std::int64_t allowedMs =
        elapsedMs + kClockSlackMs + elapsedMs * kClockSlackPerMille / 1000;
    if (playedMs > allowedMs) {
        return "its " + std::to_string(playedMs / 1000) + " s of play are more than the " +
               std::to_string(elapsedMs / 1000) + " s between its ticket and its submission";
    }
    if (auto implausible = implausibleInput(*facts.script))
        return "keys no person presses: " + *implausible;
    return std::nullopt;
}

}  // namespace kolvane::server
