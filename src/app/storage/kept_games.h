#pragma once
// What a desktop window keeps of its sessions in the data folder: the
// session's recording (recordings/NAME.kolvane, written whole at each game
// over, every 10 seconds of play and at exit, so a crash loses at most the
// last 10 seconds) and the high-score table (scores.txt). Nothing is written
// inside a tick: the front end calls afterTick once its tick and paint are
// done. A data folder that is missing, unwritable or full costs nothing but
// one line on standard error: the game goes on, and files kept from before
// are left as they were.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/replay/recorder.h"
#include "app/scores/score_table.h"
#include "app/session/session.h"

namespace kolvane {

// Where in the data folder recordings are kept.
inline constexpr const char* kRecordingsFolderName = "recordings";
// 10 seconds of ticks, rounded down.
inline constexpr std::int64_t kRecordingWriteTicks = 666;

struct KeptGamesSetup {
    std::filesystem::path folder;  // the data folder; empty: there is none
    bool record = true;            // false: high scores only, no recording
    std::string_view frontEnd;     // "SDL window on Linux"
    std::int64_t startedAt = 0;    // the wall clock's seconds when the session started
    std::uint64_t instance = 0;    // tells two instances apart (the process id)
    std::FILE* errors = stderr;
};

// This process's id: what tells two instances' recordings apart.
std::uint64_t processId();

class KeptGames {
public:
    // Reads the high-score table, and makes room among the old recordings.
    explicit KeptGames(const KeptGamesSetup& setup);
    KeptGames(const KeptGames&) = delete;
    KeptGames& operator=(const KeptGames&) = delete;

    // Listens to the session from its start on: call before session.start().
    void attach(Session& session);
    // After each tick and its paint: each game that ended goes into the
    // table, and the recording is written when a game ended or 10 s passed.
    void afterTick(const Session& session);
    // At exit: the recording written a last time, old recordings deleted.
    void finish(const Session& session);

    const ScoreTable& table() const { return table_; }
    // Counts the table's changes, for whatever shows it.
    int tableChanges() const { return tableChanges_; }
    // The recording's file (empty when not recording).
    const std::filesystem::path& recordingPath() const { return recordingPath_; }
    const Recorder& recorder() const { return recorder_; }

private:
    bool writeRecording(const Session& session);
    void deleteOldRecordings();
    // Says once that the folder can't keep things, with the first reason.
    void complain(const std::string& reason);

    KeptGamesSetup setup_;
    Recorder recorder_;
    std::filesystem::path recordingPath_;
    std::string recordingName_;
    ScoreTable table_;
    int tableChanges_ = 0;
    std::size_t gamesKept_ = 0;
    std::int64_t writtenAtTick_ = 0;
    bool complained_ = false;
};

}  // namespace kolvane
