#pragma once
// Names of kept recordings, and which of them to keep: the sessions that hold
// a top-ten game, and the newest few; the rest make room.
#include <cstddef>
#include <cstdint>
#include <span>
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
// the ones a game of the table refers to, those named in `alsoKept`, and the
// keepRecent newest. Sorted.
std::vector<std::string> recordingsToDelete(std::vector<std::string> names, const ScoreTable& table,
                                            std::span<const std::string> alsoKept = {},
                                            std::size_t keepRecent = kKeptRecentRecordings);

// Of the files listed in a store's recordings (any names, any order), those to
// delete to make room: never `own` (the session's) nor a file not named as a
// recording, and nothing while there are no more than the recent ones to keep.
std::vector<std::string> recordingsToPrune(std::vector<std::string> listed, std::string_view own,
                                           const ScoreTable& table,
                                           std::span<const std::string> alsoKept = {});

// The recording names among the words of a text (a high-score table set aside
// because it could not be read, games waiting for the table): the recordings
// a store keeps whatever the table says.
std::vector<std::string> recordingNamesIn(std::string_view text);

}  // namespace kolvane
