#pragma once
// What the server does with a recording's text, through the very reader and
// verification of `kolvane-sim --verify`: reading it when it is submitted
// (refused at once when it is not a recording or exceeds the limits below, so
// nothing is ever ticked for it), and verifying it later in a verifier
// process.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/replay/recording.h"
#include "app/replay/verify.h"

namespace kolvane::server {

// What the server takes, lower than the windows' kReplayLimits: 2 MiB (half
// an hour of steady play records about 100 KB), four hours of play at 15 ms a
// tick, and 200,000 key events (14 a second for four hours).
inline constexpr ScriptLimits kServerLimits{std::size_t{2} << 20,
                                            std::int64_t{4} * 3600 * 1000 / 15, 200000};
inline constexpr std::size_t kMaxRecordingBytes = kServerLimits.maxBytes;

// The name the reader's messages give the text ("recording:12: ...").
inline constexpr std::string_view kRecordingName = "recording";

// Reads a recording within the server's limits; false with error set in the
// reader's own words.
bool readSubmission(std::string_view text, Recording& recording, std::string& error);

// Replays it and compares its games with the lines it claims; cancel, when
// set, stops the replay.
VerifyReport verifySubmission(std::string_view text, const std::atomic<bool>* cancel);

}  // namespace kolvane::server
