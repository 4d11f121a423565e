// The high-score table's text and order.
#include "app/scores/score_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

ScoreEntry game(std::int32_t score, std::string recording = "-") {
    return ScoreEntry{score, 2, 1765000000, 95, std::move(recording), 5432};
}

std::vector<std::int32_t> scores(const ScoreTable& table) {
    std::vector<std::int32_t> s;
    for (const ScoreEntry& e : table.entries) s.push_back(e.score);
    return s;
}

TEST(ScoreTable, KeepsTheTenBestWithEarlierGamesFirstOnATie) {
    ScoreTable table;
    EXPECT_EQ(insertScore(table, game(100, "a.kolvane")), 1);
    EXPECT_EQ(insertScore(table, game(300)), 1);
    EXPECT_EQ(insertScore(table, game(100, "b.kolvane")), 3);
    EXPECT_EQ(table.entries[1].recording, "a.kolvane");
    for (int i = 0; i < 7; ++i) insertScore(table, game(200));
    EXPECT_EQ(table.entries.size(), kMaxScores);
    EXPECT_EQ(insertScore(table, game(100)), 0) << "below ten better or equal games";
    EXPECT_EQ(insertScore(table, game(250)), 2);
    EXPECT_EQ(scores(table),
              (std::vector<std::int32_t>{300, 250, 200, 200, 200, 200, 200, 200, 200, 100}));
    EXPECT_EQ(table.entries.back().recording, "a.kolvane");
}

TEST(ScoreTable, ReadsBackWhatItWrites) {
    ScoreTable table;
    insertScore(table, game(1250, "2025-12-06_05-45-05_4711.kolvane"));
    insertScore(table, ScoreEntry{75, 1, 0, 3600 * 25, "-", 0});
    const std::string text = formatScoreTable(table);
    EXPECT_EQ(text,
              "# Kolvane high scores: score level date duration recording end-tick\n"
              "1250 2 2025-12-06T05:46:40Z 95 2025-12-06_05-45-05_4711.kolvane 5432\n"
              "75 1 1970-01-01T00:00:00Z 90000 - 0\n");
    ScoreTable back;
    std::string error;
    ASSERT_TRUE(parseScoreTable(text, back, error)) << error;
    EXPECT_EQ(back, table);
    // Lines put out of order by hand are sorted.
    ASSERT_TRUE(
        parseScoreTable("5 1 2025-12-06T05:46:40Z 1 - 0\n\n  # note\n"
                        "9 1 2025-12-06T05:46:40Z 1 - 0\r\n",
                        back, error))
        << error;
    EXPECT_EQ(scores(back), (std::vector<std::int32_t>{9, 5}));
}

TEST(ScoreTable, RefusesEveryMalformedLine) {
    const std::string good = "5 1 2025-12-06T05:46:40Z 1 x.kolvane 0";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"5 1 2025-12-06T05:46:40Z 1 x.kolvane", "expected score, level"},
        {good + " 9", "expected score, level"},
        {"-5 1 2025-12-06T05:46:40Z 1 x.kolvane 0", "bad score \"-5\""},
        {"5 one 2025-12-06T05:46:40Z 1 x.kolvane 0", "bad level"},
        {"5 1 2025-02-30T05:46:40Z 1 x.kolvane 0", "bad date"},
        {"5 1 2025-12-06 1 x.kolvane 0", "bad date"},
        {"5 1 2025-12-06T05:46:40Z 1.5 x.kolvane 0", "bad duration"},
        {"5 1 2025-12-06T05:46:40Z 1 ../x.kolvane 0", "bad recording name"},
        {"5 1 2025-12-06T05:46:40Z 1 .hidden 0", "bad recording name"},
        {"5 1 2025-12-06T05:46:40Z 1 x.kolvane 99999999999999999999", "bad end tick"},
        {"99999999999 1 2025-12-06T05:46:40Z 1 x.kolvane 0", "bad score"},
    };
    for (const auto& [line, problem] : cases) {
        ScoreTable table;
        std::string error;
        EXPECT_FALSE(parseScoreTable("# t\n" + line + "\n", table, error)) << line;
        EXPECT_EQ(error.rfind("line 2: " + problem, 0), 0u) << line << " -> " << error;
        EXPECT_TRUE(table.entries.empty());
    }
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += good + "\n";
    ScoreTable table;
    std::string error;
    EXPECT_FALSE(parseScoreTable(eleven, table, error));
    EXPECT_EQ(error, "line 11: more than 10 games");
}
}  // namespace
}  // namespace kolvane
