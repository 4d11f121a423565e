#pragma once
// The high-score table: the ten best games, each with its score, level, the
// date it ended, how long it lasted, and the recording and tick that prove it.
// Kept as text, one game a line, best first:
//
//     # Kolvane high scores: score level date duration recording end-tick
//     1250 2 2026-12-08T20:22:05Z 95 2026-12-08_20-20-30_4711.kolvane 5432
//
// "-" stands for the recording of a game played with recording off. Pure
// text in and out: the desktop windows keep it in a file (score_file.h), the
// web page where it keeps things.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

inline constexpr std::size_t kMaxScores = 10;
// The name written for a game without a recording.
inline constexpr std::string_view kNoRecording = "-";

struct ScoreEntry {
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::int64_t date = 0;  // seconds since 1970 (UTC) when the game ended
    std::int32_t durationSeconds = 0;
    std::string recording{kNoRecording};  // the recording's file name
    std::int64_t endTick = 0;             // the tick of the recording the game ended at
    friend bool operator==(const ScoreEntry&, const ScoreEntry&) = default;
};

struct ScoreTable {
    std::vector<ScoreEntry> entries;  // best first, at most kMaxScores
    friend bool operator==(const ScoreTable&, const ScoreTable&) = default;
};

// A recording's file name as the table accepts it: 1 to 64 letters, digits,
// dots, dashes and underscores, not starting with a dot; or kNoRecording.
bool isSafeRecordingName(std::string_view name);

// Puts a game in its place, below the games with the same score already
// there, and keeps the best kMaxScores. Returns its rank (1 is the best), or
// 0 when it is not among them.
int insertScore(ScoreTable& table, const ScoreEntry& entry);

std::string formatScoreTable(const ScoreTable& table);

// Reads the text of a table (lines in any order, comments and blank lines
// skipped). On any malformed line, or more than kMaxScores games, returns false
// with error set ("line N: what is wrong") and an empty table.
bool parseScoreTable(std::string_view text, ScoreTable& table, std::string& error);

// The table as `kolvane --scores` prints it.
std::string scoreReport(const ScoreTable& table);

// A date as the reports print it, under a "Date (UTC)" heading:
// "2026-12-08 20:22:05".
std::string reportDate(std::int64_t secondsSince1970);

// A game's length as "M:SS" (or "H:MM:SS").
std::string formatDuration(std::int32_t seconds);

}  // namespace kolvane
