// The replay runner's command line.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/sim/runner.h"

namespace kolvane::sim {
namespace {

bool parse(std::initializer_list<const char*> args, Options& options, std::string& error) {
    std::vector<const char*> argv{"kolvane-sim"};
    argv.insert(argv.end(), args);
    return parseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(SimOptions, Defaults) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({}, o, error)) << error;
    EXPECT_EQ(o.scriptPath, "-");
    EXPECT_EQ(o.tracePath, "");
    EXPECT_EQ(o.clock, 1000000000);
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.width, 740);
    EXPECT_EQ(o.height, 580);
}

TEST(SimOptions, ReadsEveryOptionInAnyOrder) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({"game.script", "--size", "320x200", "--trace", "-", "--clock", "0", "--seed",
                       "4294967295"},
                      o, error))
        << error;
    EXPECT_EQ(o.scriptPath, "game.script");
    EXPECT_EQ(o.tracePath, "-");
    EXPECT_EQ(o.clock, 0);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 200);
}

TEST(SimOptions, DashIsStandardInputAndDoubleDashEndsOptions) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({"-"}, o, error));
    EXPECT_EQ(o.scriptPath, "-");
    Options p;
    ASSERT_TRUE(parse({"--", "--odd-name"}, p, error)) << error;
    EXPECT_EQ(p.scriptPath, "--odd-name");
}

TEST(SimOptions, VersionAndHelpTakeNoValue) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({"--version", "game.script", "-h"}, o, error)) << error;
    EXPECT_TRUE(o.version);
    EXPECT_TRUE(o.help);
    EXPECT_EQ(o.scriptPath, "game.script");
}

TEST(SimOptions, ExtremesOfTheRanges) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({"--clock", "2147483647", "--size", "0x4096"}, o, error)) << error;
    EXPECT_EQ(o.clock, 2147483647);
    EXPECT_EQ(o.width, 0);
    EXPECT_EQ(o.height, 4096);
    Options p;
    ASSERT_TRUE(parse({"--size", "4096X1"}, p, error)) << error;
    EXPECT_EQ(p.width, 4096);
    EXPECT_EQ(p.height, 1);
}

TEST(SimOptions, SizeErrorNamesTheRange) {
    Options o;
    std::string error;
    EXPECT_FALSE(parse({"--size", "4097x580"}, o, error));
    EXPECT_EQ(error, "bad --size \"4097x580\" (expected WIDTHxHEIGHT, 0 to 4096 each)");
    EXPECT_EQ(o.width, 740) << "left as it was";
}

class SimOptionErrors : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(SimOptionErrors, AreRejectedWithAReason) {
    std::vector<const char*> argv{"kolvane-sim"};
    argv.insert(argv.end(), GetParam().begin(), GetParam().end());
    Options o;
    std::string error;
    EXPECT_FALSE(parseOptions(static_cast<int>(argv.size()), argv.data(), o, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, SimOptionErrors,
    ::testing::Values(
        std::vector<const char*>{"--frobnicate"}, std::vector<const char*>{"-t"},
        std::vector<const char*>{"--trace"}, std::vector<const char*>{"--trace", ""},
        std::vector<const char*>{"--clock", "-1"},
        std::vector<const char*>{"--clock", "2147483648"},
        std::vector<const char*>{"--clock", "12s"},
        std::vector<const char*>{"--seed", "4294967296"}, std::vector<const char*>{"--seed", "-5"},
        std::vector<const char*>{"--seed", "0x10"}, std::vector<const char*>{"--size", "740"},
        std::vector<const char*>{"--size", "740x"}, std::vector<const char*>{"--size", "4097x100"},
        std::vector<const char*>{"--size", "100x4097"}, std::vector<const char*>{"--size", "0x-1"},
        std::vector<const char*>{"--size", "x"}, std::vector<const char*>{"--size", " 1x1"},
        std::vector<const char*>{"--size", "1x99999999999"},
        std::vector<const char*>{"--size", "740x580x2"},
        std::vector<const char*>{"--size", "-740x580"},
        std::vector<const char*>{"--seed", "1", "--seed", "2"},
        std::vector<const char*>{"a.script", "b.script"}));

}  // namespace
}  // namespace kolvane::sim
