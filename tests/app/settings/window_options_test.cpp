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
                                                                  {"--mute", "--mute"},
                                                                  {"--scale", "2", "--scale", "3"},
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
// The help is made from the table the options are read by: every option it
// names is one the game takes, with the value it asks for.
TEST(WindowOptions, HelpNamesWhatTheGameTakes) {
    const std::string help = windowUsage();
    for (const std::vector<const char*>& args :
         std::vector<std::vector<const char*>>{{"--fullscreen"},
                                               {"--scale", "2"},
                                               {"--scale-mode", "whole"},
                                               {"--mute"},
                                               {"--no-record"},
                                               {"--replay", "f"},
                                               {"--scores"},
                                               {"--version"},
                                               {"--help"}}) {
        EXPECT_NE(help.find(std::string(" ") + args[0] + " "), std::string::npos) << args[0];
        WindowOptions o;
        std::string error;
        std::vector<const char*> argv{"kolvane"};
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_TRUE(parseWindowOptions(static_cast<int>(argv.size()), argv.data(), o, error))
            << error;
    }
    EXPECT_EQ(help.rfind("usage: kolvane [OPTION]...\n", 0), 0u);
}
}  // namespace
}  // namespace kolvane
