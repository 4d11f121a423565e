#pragma once
// Where a front end keeps its sessions: the recording and the high-score
// table. One interface for every front end: the desktop windows keep them in
// the data folder, written by a background thread (folder_store.h); the web
// page in the browser's storage (app/web/page_store.h); a test or a new
// front end in memory (app/template/memory_store.h). What to keep and when is
// decided once, in KeptGames (kept_games.h); a store only keeps it.
//
// Every call comes from the thread that ticks, between ticks, and returns
// without waiting for a disk.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/replay/recorder.h"
#include "app/scores/score_table.h"

namespace kolvane {

// The session's recording as it is now, whole: text() then pendingTicks().
struct RecordingSnapshot {
    std::string_view name;  // its file name; empty when the session is not recorded
    std::string_view text;
    std::string_view pendingTicks;
    std::int64_t startedAt = 0;           // the wall clock's seconds at the session's start
    std::span<const FinishedGame> games;  // every game it holds, in order
};

class GameStore {
public:
    // After the first frame: reads the table (given back by takeTable) and
    // makes room among the recordings kept before, never deleting
    // `ownRecording` (this session's) nor one a table names.
    virtual void open(std::string_view ownRecording) = 0;
    // Keeps the recording, replacing the version kept before.
    virtual void keepRecording(const RecordingSnapshot& recording) = 0;
    // Games that ended, for the table, each naming the recording that holds
    // it; called after keepRecording of a recording that holds them. A store
    // that could not keep that recording puts them in with kNoRecording, so
    // that the table never names a recording without the game.
    virtual void keepGames(std::vector<ScoreEntry> games) = 0;
    // A table newer than the one last taken (the table read, or merged with
    // new games): copies it into `table` and returns true.
    virtual bool takeTable(ScoreTable& table) = 0;
    // The session ends (the program exits, the page goes away): everything
    // handed over is kept before this returns.
    virtual void finish() = 0;

protected:
    ~GameStore() = default;
};

}  // namespace kolvane
