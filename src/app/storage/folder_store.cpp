#include "app/storage/folder_store.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "app/replay/recording_names.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace fs = std::filesystem;

namespace {

// "game 2 (850 points)", or "games 2 to 3" for several.
std::string gamesNamed(std::size_t first, const std::vector<ScoreEntry>& games) {
    if (games.size() == 1) {
        return "game " + std::to_string(first + 1) + " (" + std::to_string(games[0].score) +
               " points)";
    }
    return "games " + std::to_string(first + 1) + " to " + std::to_string(first + games.size());
}

bool inTable(const ScoreTable& table, const ScoreEntry& game) {
    return std::find(table.entries.begin(), table.entries.end(), game) != table.entries.end();
}

}  // namespace

FolderStore::FolderStore(BackgroundWriter& writer, FolderStoreSetup setup)
    : writer_(writer), setup_(std::move(setup)) {
    // Handing the recording over copies it into these: no allocation in play.
    nextRecording_.reserve(Recorder::kReservedBytes);
    writing_.reserve(Recorder::kReservedBytes);
}

fs::path FolderStore::recordingPath(std::string_view name) const {
    return setup_.folder / kRecordingsFolderName / name;
}

void FolderStore::open(std::string_view ownRecording) {
    own_ = ownRecording;
    writer_.post([this] { openFolder(); });
}

void FolderStore::keepRecording(const RecordingSnapshot& recording) {
    const std::lock_guard<std::mutex> lock(mutex_);
    nextRecording_.assign(recording.text);
    nextRecording_ += recording.pendingTicks;
    nextName_.assign(recording.name);
    nextGames_ = recording.games.size();
    // One write waiting is enough: it takes the newest recording.
    if (recordingPosted_) return;
    recordingPosted_ = true;
    writer_.post([this] { writeRecording(); });
}

void FolderStore::keepGames(std::vector<ScoreEntry> games) {
    writer_.post([this, games = std::move(games)]() mutable { addGames(std::move(games)); });
}

bool FolderStore::takeTable(ScoreTable& table) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!tableNew_) return false;
    tableNew_ = false;
    table = shownTable_;
    return true;
}

void FolderStore::finish() {
    writer_.post([this] { finishFolder(); });
    writer_.drain();
}

void FolderStore::openFolder() {
    if (setup_.folder.empty()) {
        say("kolvane: cannot keep recordings and high scores: there is no data folder; the "
            "game goes on without them");
        return;
    }
    // Games that waited for the table in an earlier run go in first.
    std::string waitingIn;
    std::string error;
    if (!waitingScores(setup_.folder).empty()) land({}, waitingIn, error);
    const TableRead read = readScoreTable(setup_.folder, setup_.errors);
    table_ = read.table;
    for (const ScoreEntry& game : waitingScores(setup_.folder)) insertScore(table_, game);
    publish();
    makeRoom(read);
}

void FolderStore::writeRecording() {
    std::size_t games = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        writing_.swap(nextRecording_);
        writingName_.assign(nextName_);
        games = nextGames_;
        recordingPosted_ = false;
    }
    if (setup_.folder.empty()) return;
    const fs::path path = recordingPath(writingName_);
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::string error;
    if (ec) {
        error = "cannot make \"" + path.parent_path().string() + "\": " + ec.message();
    } else if (writeFileAtomically(path.string(), writing_, error)) {
        gamesWritten_ = games;
        recordingError_.clear();
        return;
    } else {
        error = "cannot write the recording " + error;
    }
    recordingError_ = error;
    // Once for the writes in play; a game over says what became of the game.
    if (!saidRecording_) {
        saidRecording_ = true;
        say("kolvane: cannot keep the recording in \"" + setup_.folder.string() + "\": " + error +
            "; the game goes on");
    }
}

void FolderStore::addGames(std::vector<ScoreEntry> games) {
    const std::size_t first = gamesAdded_;
    gamesAdded_ += games.size();
    if (setup_.folder.empty()) {
        for (const ScoreEntry& game : games) insertScore(table_, game);
        publish();
        return;
    }
    // A game the recording on disk does not hold goes in without it.
    bool withoutRecording = false;
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (games[i].recording != kNoRecording && first + i >= gamesWritten_) {
            games[i].recording = kNoRecording;
            withoutRecording = true;
        }
    }
    const std::vector<ScoreEntry> mine = games;
    std::string waitingIn;
    std::string error;
    const ScoresAdded added = land(std::move(games), waitingIn, error);
    publish();
    if (added == ScoresAdded::kAdded && !withoutRecording) return;

    std::string line = "kolvane: " + gamesNamed(first, mine);
    line += withoutRecording ? " is not in its recording (" + recordingError_ + ")"
                             : " is kept in its recording";
    switch (added) {
        case ScoresAdded::kAdded:
            line += inTable(table_, mine.front())
                        ? "; its score is in the high-score table without the recording"
                        : "; its score is below the high-score table";
            break;
        case ScoresAdded::kLockBusy:
            line += "; the high-score table was in use by another instance (" + error + "): ";
            line += waitingIn.empty()
                        ? "the score is tried again at the next game over and at exit"
                        : "the score waits in \"" + waitingIn +
                              "\" and goes in at the next game over, at exit or at the next start";
            break;
        case ScoresAdded::kFailed:
            line += "; its score is not in the high-score table (" + error +
                    "), tried again at the next game over and at exit";
            break;
    }
    say(line);
}

void FolderStore::finishFolder() {
    if (setup_.folder.empty()) return;
    std::string waitingIn;
    std::string error;
    if (!waiting_.empty() || !waitingScores(setup_.folder).empty()) {
        if (land({}, waitingIn, error) == ScoresAdded::kFailed) {
            say("kolvane: " + std::to_string(waiting_.size()) +
                " high scores are lost at exit: " + error);
        }
    }
    // The table as it is now: another instance may have put its games in.
    makeRoom(readScoreTable(setup_.folder, setup_.errors));
}

ScoresAdded FolderStore::land(std::vector<ScoreEntry> games, std::string& waitingIn,
                              std::string& error) {
    waiting_.insert(waiting_.end(), games.begin(), games.end());
    ScoreTable table = table_;
    const ScoresAdded added =
        addScores(setup_.folder, waiting_, setup_.lockTimeoutMs, table, setup_.errors, error);
    table_ = std::move(table);
    if (added == ScoresAdded::kAdded) {
        waiting_.clear();
    } else if (added == ScoresAdded::kLockBusy && !waiting_.empty()) {
        // Kept on disk for whichever update comes next, this run's or another's.
        const std::string name = fs::path(own_.empty() ? "scores" : own_).stem().string() + "-" +
                                 std::to_string(++waitingFiles_);
        std::string why;
        if (keepWaitingScores(setup_.folder, name, waiting_, why)) {
            waiting_.clear();
            waitingIn = (setup_.folder / kWaitingScoresFolderName).string();
        }
    }
    return added;
}

void FolderStore::makeRoom(const TableRead& read) {
    // A table that could not be read says nothing of which games to keep.
    if (read.state == TableState::kSetAside) return;
    const fs::path folder = setup_.folder / kRecordingsFolderName;
    std::error_code ec;
    std::vector<std::string> listed;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        listed.push_back(it->path().filename().string());
    }
    std::vector<std::string> alsoKept = recordingNamesIn(setAsideTableText(setup_.folder));
    for (const ScoreEntry& game : waitingScores(setup_.folder)) alsoKept.push_back(game.recording);
    for (const ScoreEntry& game : waiting_) alsoKept.push_back(game.recording);
    const std::vector<std::string> doomed =
        recordingsToPrune(std::move(listed), own_, read.table, alsoKept);
    for (const std::string& name : doomed) fs::remove(folder / name, ec);
}

void FolderStore::publish() {
    const std::lock_guard<std::mutex> lock(mutex_);
    shownTable_ = table_;
    tableNew_ = true;
}

void FolderStore::say(const std::string& line) const {
    std::fprintf(setup_.errors, "%s\n", line.c_str());
    std::fflush(setup_.errors);
}

}  // namespace kolvane
