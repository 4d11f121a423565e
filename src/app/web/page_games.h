#pragma once
// What the page keeps of its sessions: the session's recording, stored in
// IndexedDB at each game over, every 10 seconds of play and when the page
// goes away (so a closed tab loses at most the last 10 seconds), and the
// high-score table in localStorage. The same recorder, names, table and
// keeping rule (the sessions of the top ten, and the newest 20) as the
// desktop windows; only the storage is the browser's. Nothing is stored
// inside a tick.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/replay/recorder.h"
#include "app/scores/score_table.h"
#include "app/session/session.h"

namespace kolvane::web {

// Where the table is kept in localStorage, and where a table that can't be
// read is moved aside.
inline constexpr const char* kScoresItem = "kolvane.scores";
inline constexpr const char* kBadScoresItem = "kolvane.scores.bad";

class PageGames {
public:
    // record: false keeps the high scores only. instance tells apart two
    // pages started in the same second.
    PageGames(bool record, std::int64_t startedAt, std::uint64_t instance);
    PageGames(const PageGames&) = delete;
    PageGames& operator=(const PageGames&) = delete;

    // Before session.start().
    void attach(Session& session);
    // After each tick and its paint.
    void afterTick(const Session& session);
    // Now, whatever the schedule (the page is going away, or another
    // recording is to be watched).
    void store(const Session& session);
    // Of the recordings kept (names one a line), deletes those the keeping
    // rule lets go, never this session's.
    void prune(std::string_view names) const;

    const ScoreTable& table() const { return table_; }
    int tableChanges() const { return tableChanges_; }

private:
    // The table as kept now: another page may have added its games.
    static ScoreTable loadTable();

    bool record_;
    Recorder recorder_;
    std::string name_;
    ScoreTable table_;
    int tableChanges_ = 0;
    std::size_t gamesKept_ = 0;
    std::int64_t storedAtTick_ = 0;
};

}  // namespace kolvane::web
