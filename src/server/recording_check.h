#pragma once
// What the server does with a recording's text, through the same reader and
// verification as `kolvane-sim --verify`: reading it when it is submitted
// (refused at once when it is not a recording or exceeds the limits below, so
// nothing is ever ticked for it) and verifying it later on a worker.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/replay/recording.h"

namespace kolvane::server {

// The largest recording taken: half an hour of steady play makes about
// 100 KB, so 2 MiB is hours of it.
inline constexpr std::size_t kMaxRecordingBytes = std::size_t{2} << 20;
// Four hours of play, 15 ms a tick.
inline constexpr std::int64_t kMaxRecordingTicks = std::int64_t{4} * 3600 * 1000 / 15;
// Key downs, repeats and ups: 14 a second for four hours.
inline constexpr std::int64_t kMaxRecordingKeyEvents = 200000;

// The name errors give the text ("recording:12: unknown command ...").
inline constexpr std::string_view kRecordingName = "recording";

struct SubmittedRecording {
    Recording recording;
    std::optional<std::string> ticket;  // the `ticket TOKEN` settings line
    std::int64_t ticks = 0;
    std::int64_t keyEvents = 0;
};

// Reads a recording under the limits above; false with error set (the
// reader's own words) when it is refused.
bool readSubmission(std::string_view text, SubmittedRecording& out, std::string& error);

enum class Outcome : std::uint8_t {
    kAgrees,      // every game reached the result it claims
    kDisagrees,   // a game line was changed, or the keys were
    kNoGames,     // nothing to rank: no game ended in it
    kRefused,     // not a recording, or over the limits
    kCancelled,   // the CPU-time cap was reached
};

struct Verification {
    Outcome outcome = Outcome::kRefused;
    std::string message;  // the verifier's own words when it does not agree
    SubmittedRecording read;
    std::vector<GameResult> reached;
};

// Replays the recording and compares its games with the lines it claims.
// cancel, when set, is polled while it plays and stops it.
Verification verifySubmission(std::string_view text, const std::atomic<bool>* cancel);

}  // namespace kolvane::server
