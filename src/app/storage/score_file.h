#pragma once
// The high-score table kept in the data folder (scores.txt), shared by every
// instance of the game: each update reads the table as it is now, under a
// lock, and writes it whole, so that two games ending at once both get in.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/scores/score_table.h"

namespace kolvane {

inline constexpr const char* kScoreFileName = "scores.txt";
inline constexpr const char* kScoreLockName = "scores.lock";
// How long an update waits for another instance's.
inline constexpr int kScoreLockTimeoutMs = 5000;

// The table kept in folder; empty when there is none. A table that can't be
// used (not text, too large, a malformed line) is moved aside to
// scores.txt.bad with one line on `errors`, and the table starts afresh.
ScoreTable loadScoreTable(const std::filesystem::path& folder, std::FILE* errors);

// Adds one game: takes the lock, reads the table as it is now, puts the game
// in, writes the table whole, lets go. `table` becomes the merged table and
// `rank` the game's place (0: not in the top ten), also when the file can't be
// written; then returns false with the reason in error.
bool addScore(const std::filesystem::path& folder, const ScoreEntry& entry, ScoreTable& table,
              int& rank, std::FILE* errors, std::string& error);

}  // namespace kolvane
