#pragma once
// Verification of a recording: its script replayed without a window, and the
// result of every game that ended compared with the game lines it claims. A
// recording whose keys or results were changed by hand does not agree; one in
// which no game ended proves nothing, and says so.
//
// What agreeing proves: under the game's rules, these keys at these ticks,
// from the start the file names, give these results. Not that a person
// pressed them, nor that the player chose that start.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/replay/recording.h"
#include "app/session/script.h"
#include "app/session/session.h"

namespace kolvane {

enum class Verdict : std::uint8_t {
    kAgrees,     // at least one game ended, and every one as the file says
    kDisagrees,  // a game reached another result, or one is missing or added
    kNoGames,    // no game ended in the replay, and the file claims none
    kRefused,    // not a recording, or beyond the limits: nothing was replayed
    kCancelled,  // stopped from outside before the end
};

struct VerifyReport {
    Verdict verdict = Verdict::kRefused;
    // One line that says the verdict: "verified: 2 games, every one as the
    // recording says", "NAME does not verify: 1 of 2 games disagree",
    // "NAME:LINE: what is wrong", ...
    std::string message;
    Recording recording;              // as read (empty when refused)
    std::vector<GameResult> reached;  // the games that ended in the replay
    std::int64_t ticks = 0;           // ticks replayed
    std::int64_t keyEvents = 0;       // key events replayed
};

// Reads the text as a recording within the limits and replays it from the
// start its settings lines name (each of `overrides` given wins over the
// file's line). `cancel`, when not null, is read every few thousand ticks:
// once set, the replay stops with kCancelled.
VerifyReport verifyRecording(std::string_view text, std::string_view name,
                             const ScriptLimits& limits, const ScriptSettings& overrides,
                             const std::atomic<bool>* cancel = nullptr);
VerifyReport verifyRecording(std::string_view text, std::string_view name,
                             const ScriptLimits& limits, const std::atomic<bool>* cancel = nullptr);

// Each game of the replay and of the file, one line each (without its
// newline), `line` from 0 to describedGames(report) - 1: "game 1: score
// 1250, level 2, ended at tick 5432 (agrees)", "... (the recording says game
// 1: ...)", "... (not in the recording)", "no game 3 in the replay (the
// recording says ...)".
std::size_t describedGames(const VerifyReport& report);
std::string describeGame(const VerifyReport& report, std::size_t line);

// The results of the games that end when the script is played from start
// (shots are skipped: verifying writes no file).
std::vector<GameResult> replayGames(const Script& script, const SessionStart& start);

}  // namespace kolvane
