#pragma once
// Names of kept recordings, and which of them to keep: the sessions that hold
// a top-ten game, and the newest few; the rest make room.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/scores/score_table.h"

namespace kolvane {

// How many of the newest recordings are kept besides those of the top ten.
inline constexpr std::size_t kKeptRecentRecordings = 20;

// "2026-12-08_20-22-05_4711.kolvane": when the session started (UTC) and a
// number that tells apart two instances started in the same second (the
// desktop windows give their process id). Names sort by time.
std::string recordingFileName(std::int64_t startedAt, std::uint64_t instance);

// Whether a name has that form (files of any other name are never deleted).
bool isRecordingFileName(std::string_view name);

// Of the recordings named (in any order), those to delete: every one except
// the ones a game of the table refers to and the keepRecent newest. Sorted.
std::vector<std::string> recordingsToDelete(std::vector<std::string> names, const ScoreTable& table,
                                            std::size_t keepRecent = kKeptRecentRecordings);

}  // namespace kolvane
