#include "app/storage/kept_games.h"

#include <system_error>
#include <vector>

#include "app/replay/recording_names.h"
#include "app/session/tick_and_field.h"
#include "app/storage/score_entry.h"
#include "app/storage/score_file.h"
#include "app/version.h"
#include "core/atomic_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kolvane {

namespace fs = std::filesystem;

std::uint64_t processId() {
#ifdef _WIN32
    return ::GetCurrentProcessId();
#else
    return static_cast<std::uint64_t>(::getpid());
#endif
}

KeptGames::KeptGames(const KeptGamesSetup& setup)
    : setup_(setup), recorder_(kVersion, setup.frontEnd, setup.startedAt) {
    if (setup_.folder.empty()) {
        complain("there is no data folder");
        return;
    }
    if (setup_.record) {
        recordingName_ = recordingFileName(setup_.startedAt, setup_.instance);
        recordingPath_ = setup_.folder / kRecordingsFolderName / recordingName_;
    }
    table_ = loadScoreTable(setup_.folder, setup_.errors);
    deleteOldRecordings();
}

void KeptGames::attach(Session& session) {
    session.addListener(recorder_);
}

void KeptGames::afterTick(const Session& session) {
    const auto& finished = recorder_.finishedGames();
    const bool gameOver = gamesKept_ < finished.size();
    // The recording first, so that the table never names a game it lacks.
    if (gameOver || session.ticksDone() - writtenAtTick_ >= kRecordingWriteTicks) {
        writeRecording(session);
    }
    for (; gamesKept_ < finished.size(); ++gamesKept_) {
        const ScoreEntry entry =
            scoreEntryOf(finished[gamesKept_], session.startedFrom(), recordingName_);
        int rank = 0;
        std::string error;
        if (!addScore(setup_.folder, entry, table_, rank, setup_.errors, error)) complain(error);
        if (rank > 0) ++tableChanges_;
    }
}

void KeptGames::finish(const Session& session) {
    afterTick(session);
    writeRecording(session);
    deleteOldRecordings();
}

bool KeptGames::writeRecording(const Session& session) {
    writtenAtTick_ = session.ticksDone();
    if (recordingPath_.empty()) return true;
    std::error_code ec;
    fs::create_directories(recordingPath_.parent_path(), ec);
    if (ec) {
        complain("cannot make \"" + recordingPath_.parent_path().string() + "\": " + ec.message());
        return false;
    }
    Recorder::TickLine pending{};
    AtomicFile file;
    std::string error;
    if (!file.open(recordingPath_.string(), error) || !file.write(recorder_.text()) ||
        !file.write(recorder_.pendingTicks(pending)) || !file.commit(error)) {
        if (error.empty()) file.commit(error);  // a failed write: commit says why
        complain("cannot write the recording " + error);
        return false;
    }
    return true;
}

void KeptGames::deleteOldRecordings() {
    if (setup_.folder.empty()) return;
    const fs::path folder = setup_.folder / kRecordingsFolderName;
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name != recordingName_ && isRecordingFileName(name)) names.push_back(name);
    }
    // Fewer than the recent ones to keep: nothing to choose.
    if (names.size() <= kKeptRecentRecordings) return;
    // The table as it is now: another instance may have put its games in.
    const ScoreTable table = loadScoreTable(setup_.folder, setup_.errors);
    for (const std::string& name : recordingsToDelete(names, table)) {
        fs::remove(folder / name, ec);
    }
}

void KeptGames::complain(const std::string& reason) {
    if (complained_) return;
    complained_ = true;
    const char* what = setup_.record ? "recordings and high scores" : "high scores";
    if (setup_.folder.empty()) {
        std::fprintf(setup_.errors, "kolvane: cannot keep %s: %s; the game goes on without them\n",
                     what, reason.c_str());
        return;
    }
    std::fprintf(setup_.errors,
                 "kolvane: cannot keep %s in \"%s\": %s; the game goes on without them\n", what,
                 setup_.folder.string().c_str(), reason.c_str());
}

}  // namespace kolvane
