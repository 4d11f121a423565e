#include "app/storage/kept_games.h"

#include <utility>
#include <vector>

#include "app/replay/recording_names.h"
#include "app/session/tick_and_field.h"
#include "app/version.h"

namespace kolvane {

ScoreEntry scoreEntryOf(const FinishedGame& game, std::int64_t startedAt,
                        std::string_view recording) {
    ScoreEntry entry;
    entry.score = game.result.score;
    entry.level = game.result.level;
    entry.date = startedAt + game.result.endTick * kTickMilliseconds / 1000;
    entry.durationSeconds = static_cast<std::int32_t>((game.result.endTick - game.startTick) *
                                                      kTickMilliseconds / 1000);
    entry.recording = recording.empty() ? std::string(kNoRecording) : std::string(recording);
    entry.endTick = game.result.endTick;
    return entry;
}

KeptGames::KeptGames(GameStore& store, const KeptGamesSetup& setup)
    : store_(store),
      recorder_(kVersion, setup.frontEnd, setup.startedAt),
      recordingName_(setup.record ? recordingFileName(setup.startedAt, setup.instance)
                                  : std::string()),
      startedAt_(setup.startedAt) {}

void KeptGames::attach(Session& session, std::string_view ticket) {
    recorder_.setTicket(ticket);
    session.addListener(recorder_);
}

void KeptGames::open() {
    store_.open(recordingName_);
    takeTable();
}

void KeptGames::afterTick(const Session& session) {
    const auto& finished = recorder_.finishedGames();
    const bool gameOver = gamesKept_ < finished.size();
    // The recording first: the store puts a game in the table only once a
    // recording that holds it is kept.
    if (gameOver || session.ticksDone() - keptAtTick_ >= kRecordingWriteTicks) {
        keepRecording(session);
    }
    if (gameOver) {
        std::vector<ScoreEntry> games;
        for (; gamesKept_ < finished.size(); ++gamesKept_) {
            games.push_back(scoreEntryOf(finished[gamesKept_], startedAt_, recordingName_));
        }
        store_.keepGames(std::move(games));
    }
    takeTable();
}

void KeptGames::keepNow(const Session& session) {
    keepRecording(session);
}

void KeptGames::finish(const Session& session) {
    afterTick(session);
    keepRecording(session);
    store_.finish();
    takeTable();
}

void KeptGames::keepRecording(const Session& session) {
    keptAtTick_ = session.ticksDone();
    if (recordingName_.empty()) return;
    Recorder::TickLine buffer{};
    store_.keepRecording(RecordingSnapshot{recordingName_, recorder_.text(),
                                           recorder_.pendingTicks(buffer), startedAt_,
                                           recorder_.finishedGames()});
}

void KeptGames::takeTable() {
    if (store_.takeTable(table_)) ++tableChanges_;
}

}  // namespace kolvane
