#pragma once
// The high-score table kept in the data folder (scores.txt), shared by every
// instance of the game: each update reads the table as it is now, under a
// lock, and writes it whole, so that two games ending at once both get in.
// Games that could not get in (another instance held the lock too long) wait
// in waiting-scores/, one file for each update, until the next update of any
// instance puts them in: at its next game over, at its exit, or at the next
// start.
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/scores/score_table.h"

namespace kolvane {

inline constexpr const char* kScoreFileName = "scores.txt";
inline constexpr const char* kScoreLockName = "scores.lock";
inline constexpr const char* kWaitingScoresFolderName = "waiting-scores";
// How long an update waits for another instance's.
inline constexpr int kScoreLockTimeoutMs = 5000;

// How a table was read: whole, not there, or set aside as scores.txt.bad.
enum class TableState { kRead, kMissing, kSetAside };

struct TableRead {
    ScoreTable table;
    TableState state = TableState::kMissing;
};

// The table kept in folder; empty when there is none. A table that can't be
// used (not text, too large, a malformed line) is moved aside to
// scores.txt.bad with one line on `errors`, and the table starts afresh.
TableRead readScoreTable(const std::filesystem::path& folder, std::FILE* errors);
inline ScoreTable loadScoreTable(const std::filesystem::path& folder, std::FILE* errors) {
    return readScoreTable(folder, errors).table;
}

// The text of a table set aside (scores.txt.bad), at most 64 KiB of it;
// empty when there is none.
std::string setAsideTableText(const std::filesystem::path& folder);

enum class ScoresAdded { kAdded, kLockBusy, kFailed };

// Adds games: takes the lock (waiting up to lockTimeoutMs for another
// instance), reads the table as it is now, puts in `games` and every game
// waiting in waiting-scores/ (a game already in the table is not put in
// twice), writes the table whole when it changed, lets go, and deletes the
// waiting files it put in. `table` becomes the merged table. kLockBusy:
// another instance held the lock all that time and nothing was written;
// kFailed: `error` says why. Either way `table` is the table last read with
// `games` put in, for the player to see.
ScoresAdded addScores(const std::filesystem::path& folder, std::span<const ScoreEntry> games,
                      int lockTimeoutMs, ScoreTable& table, std::FILE* errors, std::string& error);

// Keeps games that could not go in, in waiting-scores/NAME.txt (a name no
// other update uses), for the next update to put in; false with the reason.
bool keepWaitingScores(const std::filesystem::path& folder, std::string_view name,
                       std::span<const ScoreEntry> games, std::string& error);

// The games waiting in waiting-scores/ now.
std::vector<ScoreEntry> waitingScores(const std::filesystem::path& folder);

}  // namespace kolvane
