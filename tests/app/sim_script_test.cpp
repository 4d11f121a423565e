// The replay script reader: what it accepts, and that every mistake names its
// file and line and yields no commands at all.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/sim/script.h"
#include "core/platform.h"

namespace kolvane::sim {
namespace {

TEST(ScriptReader, ReadsEveryCommandWithItsLine) {
    const std::string text =
        "# a comment line\n"
        "\n"
        "tick\n"
        "tick 250   # ticks\n"
        "down LEFT\r\n"
        "\trepeat   space\n"
        "up left\n"
        "press ESCAPE\n"
        "shot frames/one.png\n";
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript(text, "play.script", script, error)) << error;
    ASSERT_EQ(script.commands.size(), 7u);
    const auto& c = script.commands;
    EXPECT_EQ(c[0].kind, CommandKind::kTick);
    EXPECT_EQ(c[0].count, 1);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[1].count, 250);
    EXPECT_EQ(c[2].kind, CommandKind::kDown);
    EXPECT_EQ(c[2].key, vk::kLeft);
    EXPECT_EQ(c[2].line, 5);
    EXPECT_EQ(c[3].kind, CommandKind::kRepeat);
    EXPECT_EQ(c[3].key, vk::kSpace);
    EXPECT_EQ(c[4].kind, CommandKind::kUp);
    EXPECT_EQ(c[5].kind, CommandKind::kPress);
    EXPECT_EQ(c[5].key, vk::kEscape);
    EXPECT_EQ(c[6].kind, CommandKind::kShot);
    EXPECT_EQ(c[6].file, "frames/one.png");
    EXPECT_EQ(c[6].line, 9);
}

TEST(ScriptReader, EmptyScriptHasNoCommands) {
    Script script;
    std::string error;
    EXPECT_TRUE(parseScript("", "-", script, error));
    EXPECT_TRUE(parseScript("# only\n\n   \n", "-", script, error));
    EXPECT_TRUE(script.commands.empty());
}

TEST(ScriptReader, LastLineNeedsNoNewline) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("tick 2\npress S", "x", script, error)) << error;
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.commands[1].key, vk::kS);
}

TEST(ScriptReader, KeyNamesAndCodes) {
    EXPECT_EQ(parseKey("SPACE"), vk::kSpace);
    EXPECT_EQ(parseKey("x"), vk::kX);
    EXPECT_EQ(parseKey("S"), vk::kS);
    EXPECT_EQ(parseKey("P"), vk::kP);
    EXPECT_EQ(parseKey("Escape"), vk::kEscape);
    EXPECT_EQ(parseKey("RIGHT"), vk::kRight);
    EXPECT_EQ(parseKey("UP"), vk::kUp);
    EXPECT_EQ(parseKey("DOWN"), vk::kDown);
    EXPECT_EQ(parseKey("Q"), 'Q');
    EXPECT_EQ(parseKey("7"), '7');
    EXPECT_EQ(parseKey("0x1B"), vk::kEscape);
    EXPECT_EQ(parseKey("0xff"), 0xFF);
    EXPECT_EQ(parseKey("0x00"), 0x00);
}

TEST(ScriptReader, RejectsUnknownKeys) {
    for (const char* bad : {"", "F1", "AB", "0x1", "0x123", "0xZZ", "1B", "-", "ESC", "SPACEBAR"}) {
        EXPECT_FALSE(parseKey(bad).has_value()) << bad;
    }
}

struct BadLine {
    const char* text;   // the script
    const char* where;  // the expected start of the message
};

void PrintTo(const BadLine& b, std::ostream* os) {
    *os << '"' << b.text << '"';
}

class ScriptReaderErrors : public ::testing::TestWithParam<BadLine> {};

TEST_P(ScriptReaderErrors, NameFileAndLineAndKeepNothing) {
    Script script;
    std::string error;
    EXPECT_FALSE(parseScript(GetParam().text, "game.script", script, error));
    EXPECT_EQ(error.rfind(GetParam().where, 0), 0u) << error;
    EXPECT_TRUE(script.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, ScriptReaderErrors,
    ::testing::Values(BadLine{"tick\njump 3\n", "game.script:2: unknown command"},
                      BadLine{"press SPACEBAR\n", "game.script:1: press: bad key"},
                      BadLine{"\n\ndown\n", "game.script:3: down: missing key"},
                      BadLine{"up LEFT RIGHT\n", "game.script:1: up: too many"},
                      BadLine{"repeat P P P P\n", "game.script:1: repeat: too many"},
                      BadLine{"shot\n", "game.script:1: shot: missing file"},
                      BadLine{"shot a.png b.png\n", "game.script:1: shot: too many"},
                      BadLine{"tick 0\n", "game.script:1: tick: count 0 out of range"},
                      BadLine{"tick 1000001\n", "game.script:1: tick: count 1000001 out of range"},
                      BadLine{"tick 99999999999999999999\n",
                              "game.script:1: tick: count 99999999999999999999 out of range"},
                      BadLine{"tick -3\n", "game.script:1: tick: bad count"},
                      BadLine{"tick 2.5\n", "game.script:1: tick: bad count"},
                      BadLine{"tick +4\n", "game.script:1: tick: bad count"},
                      BadLine{"tick ten\n", "game.script:1: tick: bad count"},
                      BadLine{"tick 1 2\n", "game.script:1: tick: too many"},
                      // Only the first mistake is reported.
                      BadLine{"tick 3\nfoo\nbar\n", "game.script:2: unknown command \"foo\""}));

TEST(ScriptReader, LargestCountIsAccepted) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("tick 1000000", "x", script, error)) << error;
    EXPECT_EQ(script.commands[0].count, kMaxTickCount);
}

TEST(ScriptReader, CommentEndsTheWords) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("shot a.png#b.png\n", "x", script, error)) << error;
    EXPECT_EQ(script.commands[0].file, "a.png");
}

}  // namespace
}  // namespace kolvane::sim
