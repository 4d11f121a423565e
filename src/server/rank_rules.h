#pragma once
// What ranks. A recording that verifies proves that its keys give its scores
// under the game's rules, and no more: the same keys from another start clock,
// on a larger field or at a bot's pace verify too. So a verified game ranks
// only when
// - its session started from a ticket this server issued (the start clock
//   is the server's choice, used once) and was submitted within a day of it;
// - its ticks fit the real time between the ticket and the submission (no
//   slow motion);
// - it was played on the windows' 740 x 580 field from their seed 1;
// - its keys are humanly possible: no key pressed more than twice or
//   repeated more than once within one tick, none pressed more than 16 times
//   within a second.
// Everything else that verifies is kept and listed, unranked, with the reason.
#include <cstdint>
#include <optional>
#include <string>

#include "app/session/script.h"

namespace kolvane::server {

inline constexpr ClientSize kRankedField{740, 580};
inline constexpr std::uint32_t kRankedSeed = 1;
inline constexpr std::int64_t kTicketLifetimeMs = std::int64_t{24} * 3600 * 1000;
// What the session's ticks may exceed the real time by: a client's clock runs
// a little fast or slow, and its first tick may come early.
inline constexpr std::int64_t kClockSlackMs = 2000;
inline constexpr std::int64_t kClockSlackPerMille = 5;

inline constexpr int kMaxPressesInOneTick = 2;
inline constexpr int kMaxRepeatsInOneTick = 1;
inline constexpr int kMaxPressesInOneSecond = 16;
inline constexpr std::int64_t kTicksInOneSecond = 67;  // 1005 ms

struct RankFacts {
    const Script* script = nullptr;
    std::int64_t ticks = 0;
    std::optional<std::int64_t> ticketIssuedAtMs;
    std::int64_t submittedAtMs = 0;
};

// Why the recording's games don't rank, or nothing when they do.
std::optional<std::string> whyUnranked(const RankFacts& facts);

// The first key pattern no person makes ("SPACE pressed 3 times within tick
// 1200"), or nothing.
std::optional<std::string> implausibleInput(const Script& script);

}  // namespace kolvane::server
