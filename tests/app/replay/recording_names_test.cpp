// The names of kept recordings, and which of them make room.
#include "app/replay/recording_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/scores/score_table.h"

namespace kolvane {
namespace {

ScoreEntry game(std::int32_t score, std::string recording) {
    return ScoreEntry{score, 2, 1765000000, 95, std::move(recording), 5432};
}

TEST(RecordingNames, TellInstancesApartAndSortByTime) {
    const std::string name = recordingFileName(1765000000, 4711);
    EXPECT_EQ(name, "2025-12-06_05-46-40_4711.kolvane");
    EXPECT_TRUE(isRecordingFileName(name));
    EXPECT_TRUE(isSafeRecordingName(name));
    EXPECT_NE(recordingFileName(1765000000, 4712), name);
    EXPECT_LT(recordingFileName(1765000000, 1), recordingFileName(1765000001, 1));
    for (const char* other :
         {"notes.txt", "2025-12-06_05-46-40_.kolvane", "2025-12-06_05-46-40_12.kolvane.bad",
          "2025-12-06_05-46-4x_1.kolvane"}) {
        EXPECT_FALSE(isRecordingFileName(other)) << other;
    }
}

TEST(RecordingNames, KeepTheTopTenGamesAndTheNewest) {
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) names.push_back(recordingFileName(1765000000 + 60 * i, 1));
    ScoreTable table;
    insertScore(table, game(500, names[3]));
    insertScore(table, game(400, names[25]));
    std::vector<std::string> shuffled(names.rbegin(), names.rend());
    std::vector<std::string> expected;
    for (int i = 0; i < 10; ++i) {
        if (i != 3) expected.push_back(names[i]);
    }
    EXPECT_EQ(recordingsToDelete(shuffled, table), expected);
    EXPECT_TRUE(recordingsToDelete({names[0], names[1]}, ScoreTable{}).empty());
}

}  // namespace
}  // namespace kolvane
