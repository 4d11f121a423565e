// scores.txt: a kill at any moment of a write, and instances adding games at
// once.
#include "app/storage/score_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/scratch.h"

namespace kolvane {

namespace {

namespace fs = std::filesystem;
using testing::readText;
using testing::scratchDir;

constexpr std::int64_t kStart = 1765000000;

// The table's writer killed at random moments: what is left is always a whole
// table, the one before a write or the one after.
TEST(ScoreFile, AKillDuringAWriteLeavesOldOrNew) {
    const fs::path folder = scratchDir() / "data";
    std::mt19937 random(7);
    std::size_t games = 0;
    for (int round = 0; round < 30; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Each game better than every one before: each is a write.
            for (std::int32_t score = round * 100000;; ++score) {
                ScoreTable table;
                std::string error;
                const ScoreEntry game{score, 1, kStart, 9, "-", 0};
                addScores(folder, {&game, 1}, kScoreLockTimeoutMs, table, stderr, error);
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 30000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        if (!fs::exists(folder / "scores.txt")) continue;
        ScoreTable table;
        std::string error;
        ASSERT_TRUE(parseScoreTable(readText(folder / "scores.txt"), table, error))
            << "round " << round << ": " << error;
        EXPECT_GE(table.entries.size(), games) << "round " << round;
        games = table.entries.size();
    }
    EXPECT_GE(games, 2u) << "the writers got some way";
}

// Four instances adding five games each at the same moment: the table ends
// with the ten best of all twenty.
TEST(ScoreFile, InstancesAtOnceLoseNoUpdate) {
    const fs::path folder = scratchDir() / "data";
    constexpr int kInstances = 4;
    std::vector<pid_t> children;
    for (int i = 0; i < kInstances; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int g = 0; g < 5; ++g) {
                ScoreTable table;
                std::string error;
                const ScoreEntry game{100 * g + i, 1, kStart, 9, "-", 0};
                ok = addScores(folder, {&game, 1}, kScoreLockTimeoutMs, table, stderr, error) ==
                         ScoresAdded::kAdded &&
                     ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const ScoreTable table = loadScoreTable(folder, stderr);
    std::vector<std::int32_t> scores;
    for (const ScoreEntry& e : table.entries) scores.push_back(e.score);
    EXPECT_EQ(scores,
              (std::vector<std::int32_t>{403, 402, 401, 400, 303, 302, 301, 300, 203, 202}));
}

}  // namespace
}  // namespace kolvane
