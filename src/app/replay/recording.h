#pragma once
// The recording of a session: a replay script that kolvane-sim runs without
// options. It opens with comment lines a person reads (the program and its
// version, when and where it was recorded) and the settings lines the session
// started from (clock, seed, size); then the key events and runs of ticks in
// the order the game saw them; and after the tick that ended each game, a
// comment line with the game's result, in a fixed form that verification reads:
//
//     # game 1: score 1250, level 2, ended at tick 5432
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/session/script.h"
#include "app/session/session.h"

namespace kolvane {

// The file name extension of recordings.
inline constexpr std::string_view kRecordingExtension = ".kolvane";

// How one game of a session ended.
struct GameResult {
    int number = 0;  // 1 for the session's first game
    std::int32_t score = 0;
    std::int32_t level = 0;    // as the HUD shows it
    std::int64_t endTick = 0;  // the tick after which no game ran
    friend bool operator==(const GameResult&, const GameResult&) = default;
};

// Where and by what a session was recorded.
struct RecordingHeader {
    std::string_view version;     // the program's version
    std::string_view frontEnd;    // "SDL window on Linux"
    std::int64_t recordedAt = 0;  // seconds since 1970, UTC
    SessionStart start;
    std::string_view ticket;  // a leaderboard's ticket (isTicket), or empty for none
};

// Appends the opening comment and settings lines (`ticket TOKEN` after
// `size` when there is one).
void appendRecordingHeader(std::string& out, const RecordingHeader& header);

// Appends "# game N: score S, level L, ended at tick T" and a newline; it
// allocates only when out has no room left.
void appendGameLine(std::string& out, const GameResult& game);

// A comment line whose first word is "game" in any case, after any blanks
// (spaces, tabs, the Unicode spaces such as U+00A0) before and after the
// '#', followed by anything but a letter, is a game line: its result, or
// nothing when it is not exactly in the form appendGameLine writes.
bool isGameLine(std::string_view line);
std::optional<GameResult> parseGameLine(std::string_view line);

// Why a recording with a `shot` line is refused.
inline constexpr std::string_view kShotInRecording =
    "shot: a recording writes no file (a recording holds no shot)";

// Whether the text opens with the first line appendRecordingHeader writes
// ("# Kolvane VERSION recording: ..."), after a byte-order mark.
bool hasRecordingHeader(std::string_view text);

// A recording read back: the script it replays and the results it claims.
struct Recording {
    Script script;
    std::vector<GameResult> games;
};

// Reads a recording: the script as parseScript reads it within the limits,
// which must name its clock, seed and size and hold no `shot`, and every game
// line. A game line not in the exact form is a mistake, reported like the
// script's own ("NAME:LINE: bad game line"). False with error set on the
// first mistake.
bool readRecording(std::string_view text, std::string_view name, const ScriptLimits& limits,
                   Recording& recording, std::string& error);

}  // namespace kolvane
