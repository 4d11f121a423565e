#pragma once
// What every front end keeps of its sessions, decided once: the session is
// recorded (when recording is on), the recording is handed to the store at
// each game over and every 10 seconds of play (so a crash loses at most the
// last 10 seconds) and at the end, and each game that ended goes into the
// high-score table after the recording that holds it. Where it is kept is
// the store's (game_store.h). Nothing is kept inside a tick: the front end
// calls afterTick once its tick and paint are done.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/replay/recorder.h"
#include "app/scores/score_table.h"
#include "app/session/session.h"
#include "app/storage/game_store.h"

namespace kolvane {

// 10 seconds of ticks, rounded down.
inline constexpr std::int64_t kRecordingWriteTicks = 666;

struct KeptGamesSetup {
    bool record = true;          // false: high scores only, no recording
    std::string_view frontEnd;   // "SDL window on Linux"
    std::int64_t startedAt = 0;  // the wall clock's seconds when the session started
    std::uint64_t instance = 0;  // tells two instances apart (the process id)
};

// What a game that ended goes into the high-score table as: its score and
// level, when it ended (by the wall clock the session started at: a
// ticket's start clock is a leaderboard's random choice, not a date) and how
// long it lasted, and the recording and tick that prove it (recording: empty
// when not recorded).
ScoreEntry scoreEntryOf(const FinishedGame& game, std::int64_t startedAt,
                        std::string_view recording);

class KeptGames {
public:
    KeptGames(GameStore& store, const KeptGamesSetup& setup);
    KeptGames(const KeptGames&) = delete;
    KeptGames& operator=(const KeptGames&) = delete;

    // Listens to the session from its start on: call before session.start().
    // ticket: the leaderboard's ticket the session starts from (isTicket), or
    // empty; the recording carries it.
    void attach(Session& session, std::string_view ticket = {});
    // After the first frame: the store reads the table and makes room.
    void open();
    // After each tick and its paint.
    void afterTick(const Session& session);
    // The recording now, whatever the schedule (the page is going away).
    void keepNow(const Session& session);
    // The session ends: everything kept.
    void finish(const Session& session);

    // The table as the store last gave it, and a count of its changes for
    // whatever shows it.
    const ScoreTable& table() const { return table_; }
    int tableChanges() const { return tableChanges_; }
    // The recording's file name (empty when not recording).
    const std::string& recordingName() const { return recordingName_; }
    const Recorder& recorder() const { return recorder_; }

private:
    void keepRecording(const Session& session);
    void takeTable();

    GameStore& store_;
    Recorder recorder_;
    std::string recordingName_;
    std::int64_t startedAt_;
    ScoreTable table_;
    int tableChanges_ = 0;
    std::size_t gamesKept_ = 0;
    std::int64_t keptAtTick_ = 0;
};

}  // namespace kolvane
