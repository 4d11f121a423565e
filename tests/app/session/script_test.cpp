// The replay script reader: what it accepts, and that every mistake names its
// file and line and yields no commands at all.
#include "app/session/script.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"

namespace kolvane::sim {
namespace {

using namespace std::string_view_literals;

TEST(ScriptReader, ReadsEveryCommandAndTickLinesAsOneRun) {
    const std::string text =
        "# a comment line\n"
        "\n"
        "tick\n"
        "tick 250   # ticks\n"
        "down LEFT\r\n"
        "\trepeat   space\n"
        "up left\n"
        "press ESCAPE\n"
        "shot one.png\n";
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript(text, "play.script", script, error)) << error;
    ASSERT_EQ(script.commands.size(), 6u);
    const auto& c = script.commands;
    EXPECT_EQ(c[0].kind, CommandKind::kTick);
    EXPECT_EQ(c[0].count, 251);
    EXPECT_EQ(c[1].kind, CommandKind::kDown);
    EXPECT_EQ(c[1].key, vk::kLeft);
    EXPECT_EQ(c[2].kind, CommandKind::kRepeat);
    EXPECT_EQ(c[2].key, vk::kSpace);
    EXPECT_EQ(c[3].kind, CommandKind::kUp);
    EXPECT_EQ(c[4].kind, CommandKind::kPress);
    EXPECT_EQ(c[4].key, vk::kEscape);
    EXPECT_EQ(c[5].kind, CommandKind::kShot);
    ASSERT_EQ(script.shots.size(), 1u);
    EXPECT_EQ(script.shots[0].file, "one.png");
    EXPECT_EQ(script.shots[0].line, 9);
    EXPECT_EQ(sizeof(Command), 8u) << "a day's recording holds a million";
}

// A shot writes only a plain PNG name into the runner's output folder: no
// folder, no way up, nothing Windows would read as a device or a stream.
TEST(ScriptReader, ShotTakesOnlyAPlainPngName) {
    for (const char* good : {"a.png", "frame-1.png", "bild-\xC3\xA4.png", "a.b.png", "nullx.png"}) {
        EXPECT_TRUE(isPlainPngName(good)) << good;
    }
    for (const char* bad : {"../x.png",     "/home/u/.bashrc.png",
                            "dir/a.png",    "C:x.png",
                            "a\\b.png",     ".png",
                            "..png",        ".hidden.png",
                            "a..png",       "a.PNG",
                            "a.png.txt",    "authorized_keys",
                            "NUL.png",      "com1.png",
                            "Lpt9.png",     "aux.x.png",
                            "a:stream.png", "a?.png",
                            "a|b.png",      "a\"b.png"}) {
        EXPECT_FALSE(isPlainPngName(bad)) << bad;
    }
    EXPECT_FALSE(isPlainPngName(std::string(252, 'a') + ".png"));
    Script script;
    std::string error;
    EXPECT_FALSE(parseScript("tick\nshot ../.bashrc\n", "x", script, error));
    EXPECT_EQ(error,
              "x:2: shot: bad file name \"../.bashrc\" (expected a plain name ending in .png, "
              "without a folder)");
}

// The caps are checked as the lines are read: the line that passes one is
// named, and nothing of the script is kept.
TEST(ScriptReader, RefusesWhatGoesBeyondItsLimits) {
    const ScriptLimits limits{64, 2000000, 2};
    Script script;
    std::string error;
    ASSERT_TRUE(
        parseScript("tick 1000000\ntick 1000000\npress S\nup S\n", "x", limits, script, error))
        << error;
    EXPECT_EQ(script.commands.size(), 3u);
    EXPECT_FALSE(parseScript("tick 1000000\ntick 1000000\ntick\n", "x", limits, script, error));
    EXPECT_EQ(error, "x:3: more than 2000000 ticks in all");
    EXPECT_FALSE(parseScript("press S\ntick\ndown UP\nrepeat UP\n", "x", limits, script, error));
    EXPECT_EQ(error, "x:4: more than 2 key events in all");
    EXPECT_TRUE(script.commands.empty());
    EXPECT_FALSE(parseScript(std::string(65, '\n'), "x", limits, script, error));
    EXPECT_EQ(error, "x: script too large (more than 64 bytes)");
    // A day of play is what kolvane-sim and the windows replay.
    EXPECT_EQ(kReplayLimits.maxTicks, 5760000);
}

// `ticket TOKEN` is a settings line like the others, which the game ignores.
TEST(ScriptReader, TicketIsASettingsLine) {
    Script script;
    std::string error;
    const std::string token(kMaxTicketLength, 'Z');
    ASSERT_TRUE(parseScript("clock 5\nTicket a-Z_0." + token.substr(6) + "\nseed 1\ntick\n", "x",
                            script, error))
        << error;
    EXPECT_EQ(script.settings.ticket, "a-Z_0." + token.substr(6));
    for (const std::string& bad :
         std::vector<std::string>{"ticket\n", "ticket a/b\n", "ticket " + token + "Z\n",
                                  "ticket a\nticket a\n", "tick\nticket a\n", "ticket a b\n"}) {
        EXPECT_FALSE(parseScript(bad, "x", script, error)) << bad;
    }
}

// An empty script is valid: a run that only opens the window and paints it once.
// Settings lines: clock, seed and size before the first command, each once.
TEST(ScriptReader, SettingsLinesComeFirst) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("# recorded\nclock 0\nSeed 4294967295\nsize 4096x0\ntick\n", "r",
                            script, error))
        << error;
    EXPECT_EQ(script.settings.clock, 0);
    EXPECT_EQ(script.settings.seed, 4294967295u);
    EXPECT_EQ(script.settings.size, (ClientSize{4096, 0}));
    EXPECT_EQ(script.commands.size(), 1u);
    ASSERT_TRUE(parseScript("tick\n", "r", script, error));
    EXPECT_FALSE(script.settings.clock || script.settings.seed || script.settings.size);

    const std::pair<const char*, const char*> mistakes[] = {
        {"tick\nseed 3\n", "r:2: seed: a settings line must come before the first command"},
        {"seed 3\nseed 3\n", "r:2: seed: given twice"},
        {"clock 2147483648\n",
         "r:1: clock: bad value \"2147483648\" (expected whole seconds, 0 to "
         "2147483647)"},
        {"size 4097x1\n",
         "r:1: size: bad value \"4097x1\" (expected WIDTHxHEIGHT, 0 to 4096 each)"},
        {"seed\n", "r:1: seed: missing value"},
        {"size 1x1 2x2\n", "r:1: size: too many arguments (expected one)"},
    };
    for (const auto& [text, expected] : mistakes) {
        EXPECT_FALSE(parseScript(text, "r", script, error)) << text;
        EXPECT_EQ(error, expected);
        EXPECT_FALSE(script.settings.seed) << "nothing kept from a script with a mistake";
    }
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
    std::string_view text;  // the script
    const char* where;      // the expected start of the message
};

void PrintTo(const BadLine& b, std::ostream* os) {
    *os << '"';
    for (const char c : b.text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            *os << "\\x"
                << "0123456789ABCDEF"[u >> 4] << "0123456789ABCDEF"[u & 0xF];
        } else {
            *os << c;
        }
    }
    *os << '"';
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

// Bytes that are not text, and lines far longer than any script needs, are
// mistakes like any other: named with their line, and nothing is kept.
INSTANTIATE_TEST_SUITE_P(
    NotText, ScriptReaderErrors,
    ::testing::Values(
        BadLine{"tick\ntick\0\n"sv, "game.script:2: NUL byte at column 5"},
        BadLine{"\0\0\0\0"sv, "game.script:1: NUL byte at column 1"},
        BadLine{"tick \x01\n", "game.script:1: control character 0x01 at column 6"},
        BadLine{"# bell \a\n", "game.script:1: control character 0x07"},
        BadLine{"tick\x7F\n", "game.script:1: control character 0x7F at column 5"},
        BadLine{"tick\v3\n", "game.script:1: control character 0x0B"},
        BadLine{"tick\f\n", "game.script:1: control character 0x0C"},
        BadLine{"tick\r3\n", "game.script:1: control character 0x0D at column 5"},
        BadLine{"\x1B[31mtick\n", "game.script:1: control character 0x1B at column 1"},
        BadLine{"tick\n# \xFF\n", "game.script:2: invalid UTF-8 (byte 0xFF) at column 3"},
        BadLine{"\x80tick\n", "game.script:1: invalid UTF-8 (byte 0x80) at column 1"},
        BadLine{"# \xC0\xAF overlong\n", "game.script:1: invalid UTF-8 (byte 0xC0)"},
        BadLine{"# \xE0\x80\xAF overlong\n", "game.script:1: invalid UTF-8 (byte 0xE0)"},
        BadLine{"# \xED\xA0\x80 surrogate\n", "game.script:1: invalid UTF-8 (byte 0xED)"},
        BadLine{"# \xF4\x90\x80\x80 too high\n", "game.script:1: invalid UTF-8 (byte 0xF4)"},
        BadLine{"# \xF5\x80\x80\x80\n", "game.script:1: invalid UTF-8 (byte 0xF5)"},
        BadLine{"# cut short \xE2\x82", "game.script:1: invalid UTF-8 (byte 0xE2) at column 13"},
        BadLine{"# \xE2\x82 cut short\n", "game.script:1: invalid UTF-8 (byte 0xE2)"}));

TEST(ScriptReader, LineLengthLimit) {
    Script script;
    std::string error;
    const std::string longest = "tick" + std::string(kMaxLineLength - 4, ' ');
    ASSERT_TRUE(parseScript(longest + "\r\n" + longest, "x", script, error)) << error;
    ASSERT_EQ(script.commands.size(), 1u);
    EXPECT_EQ(script.commands[0].count, 2);
    const std::string comment = "# " + std::string(5000, 'z');
    EXPECT_FALSE(parseScript("tick\n" + comment + "\ntick\n", "long.script", script, error));
    EXPECT_EQ(error, "long.script:2: line too long (5002 bytes, at most 1024)");
    EXPECT_TRUE(script.commands.empty());
    EXPECT_FALSE(parseScript("shot " + std::string(2000, 'f') + ".png", "x", script, error));
    EXPECT_EQ(error.rfind("x:1: line too long", 0), 0u) << error;
}

TEST(ScriptReader, TextInCommentsAndNamesMayBeAnyUnicode) {
    Script script;
    std::string error;
    ASSERT_TRUE(
        parseScript("# 15 ms × 67 — über 😀\ntick\t# ‰\nshot bild-ä.png\n", "x", script, error))
        << error;
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.shots.at(0).file, "bild-ä.png");
    // A no-break space is not a word separator.
    EXPECT_FALSE(
        parseScript("tick\xC2\xA0"
                    "5\n",
                    "x", script, error));
    EXPECT_EQ(error.rfind("x:1: unknown command", 0), 0u) << error;
}

TEST(ScriptReader, ByteOrderMarkAndLineEnds) {
    Script script;
    std::string error;
    ASSERT_TRUE(parseScript("\xEF\xBB\xBFtick 2\r\n\r\npress S\r\n", "x", script, error)) << error;
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.commands[0].count, 2);
    EXPECT_EQ(script.commands[1].key, vk::kS);
    // Only a mark at the very start is skipped.
    EXPECT_FALSE(parseScript("tick\n\xEF\xBB\xBFtick\n", "x", script, error));
    EXPECT_EQ(error.rfind("x:2: unknown command", 0), 0u) << error;
}

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
    EXPECT_EQ(script.shots.at(0).file, "a.png");
}

}  // namespace
}  // namespace kolvane::sim
