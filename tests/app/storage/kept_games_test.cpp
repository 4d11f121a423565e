// What the desktop windows keep, with real files: the session's recording and
// the high-score table; a folder that can't be written, or a full disk,
// costing one line and nothing kept from before.
#include "app/storage/kept_games.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/replay/recording_names.h"
#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "app/storage/settings_file.h"
#include "game/game_world.h"
#include "support/scratch.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing::contentsOf;
using testing::linesIn;
using testing::readText;
using testing::scratchDir;
using testing::writeText;

constexpr std::int64_t kStart = 1765000000;

// A session kept in `folder`, played by thrusting and turning until `games`
// games are lost (each ended by the rocks in a few hundred ticks), then quit.
struct KeptSession {
    KeptSession(const fs::path& folder, std::FILE* errors, std::uint64_t instance = 1)
        : kept(KeptGamesSetup{folder, true, "test window", kStart, instance, errors}),
          session(*world,
                  SessionStart{static_cast<std::int32_t>(kStart), 1, Rect{0, 0, 740, 580}}) {
        kept.attach(session);
        session.start();
        session.paint();
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
    std::unique_ptr<GameWorld> world = std::make_unique<GameWorld>();
    KeptGames kept;
    Session session;
};

TEST(KeptGames, RecordingAndTableNameEachOther) {
    const fs::path folder = scratchDir() / "data";
    std::FILE* errors = std::tmpfile();
    KeptSession s(folder, errors);
    const fs::path recording = s.kept.recordingPath();
    EXPECT_EQ(recording, folder / "recordings" / "2025-12-06_05-46-40_1.kolvane");
    for (int i = 0; i < kRecordingWriteTicks; ++i) s.tick();
    EXPECT_EQ(readText(recording), s.kept.recorder().wholeText()) << "written after 10 s of play";

    s.loseGames(2);
    std::string gameLine;
    appendGameLine(gameLine, s.kept.recorder().finishedGames()[1].result);
    EXPECT_TRUE(readText(recording).ends_with(gameLine)) << "written at the game over";
    const ScoreTable table = loadScoreTable(folder, errors);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table, s.kept.table());
    const FinishedGame& first = s.kept.recorder().finishedGames()[0];
    const ScoreEntry& entry =
        table.entries[1].endTick == first.result.endTick ? table.entries[1] : table.entries[0];
    EXPECT_EQ(entry.recording, recording.filename().string());
    EXPECT_EQ(entry.endTick, first.result.endTick);
    EXPECT_EQ(entry.date, kStart + first.result.endTick * 15 / 1000);
    EXPECT_EQ(entry.durationSeconds, (first.result.endTick - first.startTick) * 15 / 1000);

    s.session.keyDown(KeyEvent{vk::kEscape, false});
    s.kept.finish(s.session);
    Recording read;
    std::string error;
    ASSERT_EQ(readRecordingFile(recording, read, error), RecordingRead::kRead) << error;
    EXPECT_EQ(read.games.size(), 2u);
    EXPECT_EQ(read.script.commands.back().kind, CommandKind::kPress) << "Escape, the last event";
    EXPECT_EQ(read.script.commands.back().key, vk::kEscape);
    EXPECT_EQ(contentsOf(errors), "");
    std::fclose(errors);
}

TEST(KeptGames, OldRecordingsMakeRoomButNotTheTopTens) {
    const fs::path folder = scratchDir() / "data";
    fs::create_directories(folder / "recordings");
    std::vector<std::string> old;
    for (int i = 0; i < 25; ++i) {
        old.push_back(recordingFileName(kStart - 1000 + i, 9));
        writeText(folder / "recordings" / old.back(), "old");
    }
    writeText(folder / "recordings" / "notes.txt", "mine");
    ScoreTable table;
    int rank = 0;
    std::string error;
    ASSERT_TRUE(
        addScore(folder, ScoreEntry{50, 1, kStart, 9, old[0], 99}, table, rank, stderr, error));
    KeptSession s(folder, stderr);
    s.kept.finish(s.session);
    std::vector<std::string> kept{old[0]};
    kept.insert(kept.end(), old.begin() + 5, old.end());
    kept.push_back(s.kept.recordingPath().filename().string());
    kept.push_back("notes.txt");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(testing::filesIn(folder / "recordings"), kept);
}

TEST(KeptGames, AFolderThatCantBeWrittenCostsOneLine) {
    const fs::path file = scratchDir() / "a-file";
    writeText(file, "in the way");
    std::FILE* errors = std::tmpfile();
    KeptSession s(file / "kolvane", errors);
    s.loseGames(2);
    s.kept.finish(s.session);
    const std::string said = contentsOf(errors);
    EXPECT_EQ(linesIn(said), 1) << said;
    EXPECT_NE(said.find("the game goes on without them"), std::string::npos) << said;
    EXPECT_EQ(s.kept.table().entries.size(), 2u) << "this run still shows its games";
    std::fclose(errors);
}

// A small tmpfs filled up: needs root (mount); skipped otherwise.
TEST(KeptGames, AFullDiskLosesNothingKeptBefore) {
    // A run that died before unmounting left its tmpfs mounted: let it go first.
    if (::geteuid() == 0) {
        const fs::path left = fs::path(KOLVANE_BINARY_DIR) / "app-tests" /
                              "KeptGames.AFullDiskLosesNothingKeptBefore" / "disk";
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
    ScoreTable table;
    int rank = 0;
    std::string error;
    ASSERT_TRUE(addScore(folder, ScoreEntry{50, 1, kStart, 9, "-", 0}, table, rank, stderr, error));
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
    EXPECT_EQ(linesIn(contentsOf(errors)), 1) << contentsOf(errors);
    EXPECT_EQ(readText(folder / "scores.txt"), tableBefore);
    EXPECT_EQ(readText(old), "tick 1\n");
    for (const std::string& name : testing::filesIn(folder)) {
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "a temporary file left: " << name;
    }
    std::fclose(errors);
}
}  // namespace
}  // namespace kolvane
