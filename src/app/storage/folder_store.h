#pragma once
// The desktop windows' store (game_store.h): the session's recording in
// recordings/NAME.kolvane and the high-score table in scores.txt, in the data
// folder, every write done by the background writer in the order handed
// over. A data folder that is missing, unwritable or full costs a line on
// standard error that says what was kept and what was not: the game goes on,
// and files kept from before are left as they were.
//
// - The table never names a recording that does not hold the game: a game
//   whose recording could not be written goes in without it ("-").
// - Old recordings are deleted only against a table that was read whole; the
//   recordings named by a table set aside (scores.txt.bad) and by games
//   waiting for the table are kept.
// - Games that can't get the table's lock wait in waiting-scores/ and go in
//   at the next game over, at exit or at the next start (score_file.h).
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/storage/background_writer.h"
#include "app/storage/game_store.h"
#include "app/storage/score_file.h"

namespace kolvane {

// Where in the data folder recordings are kept.
inline constexpr const char* kRecordingsFolderName = "recordings";

struct FolderStoreSetup {
    std::filesystem::path folder;  // the data folder; empty: there is none
    std::FILE* errors = stderr;
    int lockTimeoutMs = kScoreLockTimeoutMs;
};

class FolderStore final : public GameStore {
public:
    // `writer` does every write and must outlive the store.
    FolderStore(BackgroundWriter& writer, FolderStoreSetup setup);
    // The writes handed over are done first.
    ~FolderStore() { writer_.drain(); }
    FolderStore(const FolderStore&) = delete;
    FolderStore& operator=(const FolderStore&) = delete;

    void open(std::string_view ownRecording) override;
    void keepRecording(const RecordingSnapshot& recording) override;
    void keepGames(std::vector<ScoreEntry> games) override;
    bool takeTable(ScoreTable& table) override;
    // Writes what is left, puts waiting games in the table if it can, makes
    // room among the recordings, and returns once all of it is done.
    void finish() override;

    std::filesystem::path recordingPath(std::string_view name) const;

private:
    // The writer's thread.
    void openFolder();
    void writeRecording();
    void addGames(std::vector<ScoreEntry> games);
    void finishFolder();
    // Puts the games waiting in memory (and in waiting-scores/) in the table,
    // with `games`; returns what became of them, the reason in `error`.
    ScoresAdded land(std::vector<ScoreEntry> games, std::string& waitingIn, std::string& error);
    void makeRoom(const TableRead& read);
    void publish();
    void say(const std::string& line) const;

    BackgroundWriter& writer_;
    FolderStoreSetup setup_;
    std::string own_;

    // Handed from the ticking thread to the writer's.
    std::mutex mutex_;
    std::string nextRecording_;
    std::string nextName_;
    std::size_t nextGames_ = 0;
    bool recordingPosted_ = false;
    ScoreTable shownTable_;
    bool tableNew_ = false;

    // The writer's own.
    std::string writing_;
    std::string writingName_;
    std::size_t gamesWritten_ = 0;     // games the recording on disk holds
    std::size_t gamesAdded_ = 0;       // games handed to the table so far
    std::string recordingError_;       // why the last recording write failed
    ScoreTable table_;                 // the table as last read or merged
    std::vector<ScoreEntry> waiting_;  // games neither in the table nor in waiting-scores/
    int waitingFiles_ = 0;
    bool saidRecording_ = false;
};

}  // namespace kolvane
