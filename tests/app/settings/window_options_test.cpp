// The window programs' command line.
#include "app/settings/window_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace kolvane {
namespace {

bool parse(std::initializer_list<const char*> args, WindowOptions& options, std::string& error) {
    std::vector<const char*> argv{"kolvane"};
    argv.insert(argv.end(), args);
    return parseWindowOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(WindowOptions, OverrideTheSettingsForOneRun) {
    WindowOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--fullscreen", "--scale", "3", "--scale-mode", "whole", "--mute",
                       "--no-record", "--replay", "game.kolvane"},
                      o, error))
        << error;
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.replayPath, "game.kolvane");
    const Settings s = applyOptions(Settings{}, o);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.scaleMode, ScaleMode::kWhole);
    EXPECT_TRUE(s.muted);
    EXPECT_FALSE(s.record);
    EXPECT_EQ(applyOptions(s, WindowOptions{}), s) << "no options change nothing";
}

TEST(WindowOptions, BadOptionsSayWhy) {
    for (const auto& args : std::vector<std::vector<const char*>>{{"--scale", "0"},
                                                                  {"--scale", "9"},
                                                                  {"--scale", "2x"},
                                                                  {"--scale-mode", "soft"},
                                                                  {"--replay"},
                                                                  {"--replay", ""},
                                                                  {"--frobnicate"},
                                                                  {"game.kolvane"}}) {
        std::vector<const char*> argv{"kolvane"};
        argv.insert(argv.end(), args.begin(), args.end());
        WindowOptions o;
        std::string error;
        EXPECT_FALSE(parseWindowOptions(static_cast<int>(argv.size()), argv.data(), o, error))
            << args[0];
        EXPECT_FALSE(error.empty());
    }
}
}  // namespace
}  // namespace kolvane
