// What the desktop windows keep, with real files, written by the background
// writer: the session's recording and the high-score table naming each
// other; a table that names only recordings that hold its games; old
// recordings deleted only against a table read whole; a busy table's games
// kept until they land; a folder that can't be written, or a full disk,
// saying what was kept and losing nothing kept before.
#include "app/storage/folder_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/replay/recording_names.h"
#include "app/storage/file_lock.h"
#include "app/storage/kept_games.h"
#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "game/game_world.h"
#include "support/scratch.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing::contentsOf;
using testing::readText;
using testing::scratchDir;
using testing::writeText;

constexpr std::int64_t kStart = 1765000000;

// A session kept in `folder` as a window keeps it, played by thrusting and
// turning until `games` games are lost (each ended by the rocks in a few
// hundred ticks), then quit.
struct KeptSession {
    KeptSession(const fs::path& folder, std::FILE* errors, std::uint64_t instance = 1,
                int lockTimeoutMs = kScoreLockTimeoutMs)
        : store(writer, FolderStoreSetup{folder, errors, lockTimeoutMs}),
          kept(store, KeptGamesSetup{true, "test window", kStart, instance}),
          session(*world,
                  SessionStart{static_cast<std::int32_t>(kStart), 1, Rect{0, 0, 740, 580}}) {
        kept.attach(session);
        session.start();
        session.paint();
        kept.open();
    }
    void tick() {
        session.tick();
        session.paint();
        kept.afterTick(session);
    }
    void loseGames(std::size_t games) {
        while (kept.recorder().finishedGames().size() < games) {
            session.keyDown(KeyEvent{vk::kS, false});
            session.keyUp(vk::kS);
            session.keyDown(KeyEvent{vk::kUp, false});
            session.keyDown(KeyEvent{vk::kLeft, false});
            for (int i = 0; i < 20000 && session.world().game.running; ++i) tick();
            session.releaseAllKeys();
        }
    }
    // Every write handed over done, and the table the store gives taken.
    void settle() {
        writer.drain();
        kept.afterTick(session);
    }
    fs::path recording() const { return store.recordingPath(kept.recordingName()); }
    std::string gameLine(std::size_t game) const {
        std::string line;
        appendGameLine(line, kept.recorder().finishedGames()[game].result);
        return line;
    }

    BackgroundWriter writer;
    FolderStore store;
    std::unique_ptr<GameWorld> world = std::make_unique<GameWorld>();
    KeptGames kept;
    Session session;
};

// Seeds a table as another instance left it.
void seedTable(const fs::path& folder, const std::vector<ScoreEntry>& games) {
    ScoreTable table;
    std::string error;
    ASSERT_EQ(addScores(folder, games, kScoreLockTimeoutMs, table, stderr, error),
              ScoresAdded::kAdded)
        << error;
}

// Takes the table's lock, as another instance would.
void holdTheLock(const fs::path& folder, FileLock& lock) {
    fs::create_directories(folder);
    std::string error;
    ASSERT_TRUE(lock.acquire((folder / kScoreLockName).string(), 0, error)) << error;
}

TEST(FolderStore, RecordingAndTableNameEachOther) {
    const fs::path folder = scratchDir() / "data";
    std::FILE* errors = std::tmpfile();
    KeptSession s(folder, errors);
    EXPECT_EQ(s.recording(), folder / "recordings" / "2025-12-06_05-46-40_1.kolvane");
    for (int i = 0; i < kRecordingWriteTicks; ++i) s.tick();
    s.settle();
    EXPECT_EQ(readText(s.recording()), s.kept.recorder().wholeText()) << "written after 10 s";

    s.loseGames(2);
    s.settle();
    EXPECT_TRUE(readText(s.recording()).ends_with(s.gameLine(1))) << "written at the game over";
    const ScoreTable table = loadScoreTable(folder, errors);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table, s.kept.table()) << "the table shown is the one kept";
    const FinishedGame& first = s.kept.recorder().finishedGames()[0];
    const ScoreEntry& entry =
        table.entries[1].endTick == first.result.endTick ? table.entries[1] : table.entries[0];
    EXPECT_EQ(entry.recording, s.recording().filename().string());
    EXPECT_EQ(entry.endTick, first.result.endTick);
    EXPECT_EQ(entry.date, kStart + first.result.endTick * 15 / 1000);
    EXPECT_EQ(entry.durationSeconds, (first.result.endTick - first.startTick) * 15 / 1000);

    s.session.keyDown(KeyEvent{vk::kEscape, false});
    s.kept.finish(s.session);
    Recording read;
    std::string error;
    ASSERT_EQ(readRecordingFile(s.recording(), read, error), RecordingRead::kRead) << error;
    EXPECT_EQ(read.games.size(), 2u);
    EXPECT_EQ(read.script.commands.back().kind, CommandKind::kPress) << "Escape, the last event";
    EXPECT_EQ(read.script.commands.back().key, vk::kEscape);
    EXPECT_EQ(contentsOf(errors), "");
    std::fclose(errors);
}

// Twenty-five recordings of earlier runs: the twenty newest and those the
// table names stay. A table set aside (one malformed line) still keeps the
// recordings it named, at this start and the next.
TEST(FolderStore, OldRecordingsMakeRoomButNeverThoseATableNames) {
    const fs::path folder = scratchDir() / "data";
    fs::create_directories(folder / "recordings");
    std::vector<std::string> old;
    for (int i = 0; i < 25; ++i) {
        old.push_back(recordingFileName(kStart - 1000 + i, 9));
        writeText(folder / "recordings" / old.back(), "old");
    }
    writeText(folder / "recordings" / "notes.txt", "mine");
    seedTable(folder,
              {ScoreEntry{50, 1, kStart, 9, old[0], 99}, ScoreEntry{40, 1, kStart, 9, old[1], 99}});
    // Then a bad line: the table is set aside as a whole.
    writeText(folder / "scores.txt",
              readText(folder / "scores.txt") + "70 1 2025-12-06T05:00:00Z 9 " + old[2] + " x\n");
    std::FILE* errors = std::tmpfile();
    const auto kept = [&](std::size_t newestFrom, const std::vector<std::string>& runs) {
        std::vector<std::string> names{old[0], old[1], old[2], "notes.txt"};
        names.insert(names.end(), old.begin() + static_cast<std::ptrdiff_t>(newestFrom), old.end());
        names.insert(names.end(), runs.begin(), runs.end());
        std::sort(names.begin(), names.end());
        return names;
    };
    std::string first;
    {
        KeptSession s(folder, errors, 2);
        s.kept.finish(s.session);
        first = s.recording().filename().string();
    }
    EXPECT_NE(contentsOf(errors).find("high-score table refused"), std::string::npos);
    EXPECT_EQ(testing::filesIn(folder / "recordings"), kept(5, {first}));

    KeptSession s(folder, errors, 3);
    s.kept.finish(s.session);
    EXPECT_EQ(testing::filesIn(folder / "recordings"),
              kept(6, {first, s.recording().filename().string()}));
    std::fclose(errors);
}

// `recordings` is a file: no recording can be written, so the table names
// none, and the line says what was kept and what was not.
TEST(FolderStore, AGameWhoseRecordingCantBeWrittenIsKeptWithoutIt) {
    const fs::path folder = scratchDir() / "data";
    fs::create_directories(folder);
    writeText(folder / "recordings", "in the way");
    std::FILE* errors = std::tmpfile();
    KeptSession s(folder, errors);
    s.loseGames(1);
    s.settle();
    const ScoreTable table = loadScoreTable(folder, errors);
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].recording, kNoRecording);
    const std::string said = contentsOf(errors);
    const std::string score = std::to_string(table.entries[0].score);
    EXPECT_NE(said.find("game 1 (" + score + " points) is not in its recording (cannot make"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("its score is in the high-score table without the recording"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("cannot keep recordings and high scores"), std::string::npos) << said;
    std::fclose(errors);
}

// Another instance holds the table's lock through a game over and the exit:
// the game waits in waiting-scores/ and goes in at the next start.
TEST(FolderStore, AScoreThatCantGetTheLockLandsAfterARestart) {
    const fs::path folder = scratchDir() / "data";
    FileLock other;
    holdTheLock(folder, other);
    std::FILE* errors = std::tmpfile();
    ScoreEntry game;
    {
        KeptSession s(folder, errors, 1, 50);
        s.loseGames(1);
        s.kept.finish(s.session);
        game = scoreEntryOf(s.kept.recorder().finishedGames()[0], kStart, s.kept.recordingName());
        EXPECT_EQ(s.kept.table().entries, std::vector<ScoreEntry>{game}) << "shown meanwhile";
    }
    EXPECT_FALSE(fs::exists(folder / "scores.txt"));
    EXPECT_EQ(waitingScores(folder), std::vector<ScoreEntry>{game});
    EXPECT_NE(contentsOf(errors).find("the score waits in"), std::string::npos)
        << contentsOf(errors);
    other.release();

    KeptSession next(folder, errors, 2);
    next.settle();
    EXPECT_EQ(loadScoreTable(folder, errors).entries, std::vector<ScoreEntry>{game});
    EXPECT_EQ(next.kept.table().entries, std::vector<ScoreEntry>{game});
    EXPECT_TRUE(waitingScores(folder).empty());
    EXPECT_TRUE(fs::exists(folder / "recordings" / game.recording));
    std::fclose(errors);
}

// The order of a game over's writes: while the table waits for its lock, the
// recording already holds the game.
TEST(FolderStore, TheRecordingHoldsTheGameBeforeTheTableNamesIt) {
    const fs::path folder = scratchDir() / "data";
    FileLock other;
    holdTheLock(folder, other);
    std::FILE* errors = std::tmpfile();
    KeptSession s(folder, errors, 1, 60000);
    s.loseGames(1);
    const std::string line = s.gameLine(0);
    // The writer waits for the lock from here on; the recording comes first.
    bool written = false;
    for (int i = 0; i < 2000 && !written; ++i) {
        written = readText(s.recording()).ends_with(line);
        if (!written) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(written) << "the recording lacks the game while the table waits";
    EXPECT_FALSE(fs::exists(folder / "scores.txt"));
    other.release();
    s.settle();
    ASSERT_EQ(loadScoreTable(folder, errors).entries.size(), 1u);
    EXPECT_EQ(loadScoreTable(folder, errors).entries[0].recording,
              s.recording().filename().string());
    std::fclose(errors);
}

TEST(FolderStore, AFolderThatCantBeWrittenSaysWhatWasKept) {
    const fs::path file = scratchDir() / "a-file";
    writeText(file, "in the way");
    std::FILE* errors = std::tmpfile();
    KeptSession s(file / "kolvane", errors);
    s.loseGames(2);
    s.kept.finish(s.session);
    const std::string said = contentsOf(errors);
    EXPECT_NE(said.find("cannot keep the recording"), std::string::npos) << said;
    EXPECT_NE(said.find("game 2 ("), std::string::npos) << said;
    EXPECT_NE(said.find("is not in its recording"), std::string::npos) << said;
    EXPECT_NE(said.find("its score is not in the high-score table"), std::string::npos) << said;
    EXPECT_EQ(s.kept.table().entries.size(), 2u) << "this run still shows its games";
    std::fclose(errors);
}

// A small tmpfs filled up: needs root (mount); skipped otherwise.
TEST(FolderStore, AFullDiskLosesNothingKeptBefore) {
    // A run that died before unmounting left its tmpfs mounted: let it go first.
    if (::geteuid() == 0) {
        const fs::path left = fs::path(KOLVANE_BINARY_DIR) / "app-tests" /
                              "FolderStore.AFullDiskLosesNothingKeptBefore" / "disk";
        std::system(("umount " + testing::quoted(left.string()) + " 2>/dev/null").c_str());
    }
    const fs::path disk = scratchDir() / "disk";
    fs::create_directories(disk);
    const std::string mount = "mount -t tmpfs -o size=64k tmpfs " + testing::quoted(disk.string());
    if (::geteuid() != 0 || std::system((mount + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    }
    struct Unmount {
        fs::path disk;
        ~Unmount() { std::system(("umount " + testing::quoted(disk.string())).c_str()); }
    } unmount{disk};
    const fs::path folder = disk / "kolvane";
    seedTable(folder, {ScoreEntry{50, 1, kStart, 9, "-", 0}});
    const std::string tableBefore = readText(folder / "scores.txt");
    fs::create_directories(folder / "recordings");
    const fs::path old = folder / "recordings" / recordingFileName(kStart - 60, 1);
    writeText(old, "tick 1\n");
    // Fill what is left.
    std::FILE* filler = std::fopen((disk / "filler").c_str(), "wb");
    const std::string block(1024, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);

    std::FILE* errors = std::tmpfile();
    KeptSession s(folder, errors);
    s.loseGames(1);
    s.kept.finish(s.session);
    const std::string said = contentsOf(errors);
    EXPECT_NE(said.find("is not in its recording"), std::string::npos) << said;
    EXPECT_NE(said.find("its score is not in the high-score table"), std::string::npos) << said;
    EXPECT_EQ(readText(folder / "scores.txt"), tableBefore);
    EXPECT_EQ(readText(old), "tick 1\n");
    for (const std::string& name : testing::filesIn(folder)) {
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "a temporary file left: " << name;
    }
    std::fclose(errors);
}

}  // namespace
}  // namespace kolvane
