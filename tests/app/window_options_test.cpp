// The window programs' command line and the settings file it overrides.
#include "app/window_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "app/player_settings.h"
#include "app/settings_file.h"
#include "support/scratch.h"

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

TEST(Settings, RoundTripAndForgiveBadLines) {
    Settings s;
    s.scaleMode = ScaleMode::kWhole;
    s.fullscreen = true;
    s.record = false;
    s.showScores = false;
    s.volume = 35;
    s.muted = true;
    std::vector<std::string> problems;
    EXPECT_EQ(parseSettings(formatSettings(s), problems), s);
    EXPECT_TRUE(problems.empty());

    const Settings read = parseSettings(
        "# comment\n\nvolume = 101\nfullscreen=yes\r\ncolour = blue\njust words\nmuted = maybe\n",
        problems);
    EXPECT_TRUE(read.fullscreen);
    EXPECT_EQ(read.volume, Settings{}.volume);
    EXPECT_EQ(read.muted, Settings{}.muted);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "3: bad value \"101\" for volume", "5: unknown setting \"colour\"",
                            "6: expected \"name = value\"", "7: bad value \"maybe\" for muted"}));
}

TEST(SettingsFile, KeptBetweenRunsAndABadFileMovedAside) {
    const std::filesystem::path folder = testing::scratchDir() / "config";
    std::FILE* errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(loadSettings(folder, errors), Settings{}) << "no file yet";
    Settings s;
    s.volume = 12;
    std::string error;
    ASSERT_TRUE(saveSettings(folder, s, error)) << error;
    EXPECT_EQ(loadSettings(folder, errors), s);

    testing::writeText(folder / "settings.ini", std::string("volume = 3\n\0\x01\xff", 14));
    EXPECT_EQ(loadSettings(folder, errors), Settings{});
    EXPECT_TRUE(std::filesystem::exists(folder / "settings.ini.bad"));
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.ini"));
    std::fclose(errors);
}

TEST(PlayerSettings, KeepWhatThePlayerChangesAndNotTheOptions) {
    const std::filesystem::path folder = testing::scratchDir() / "config";
    std::string error;
    Settings saved;
    saved.volume = 12;
    ASSERT_TRUE(saveSettings(folder, saved, error)) << error;
    WindowOptions options;
    options.record = false;  // --no-record: this run only
    PlayerSettings settings(folder, options, stderr);
    EXPECT_FALSE(settings.current().record);
    EXPECT_EQ(settings.current().volume, 12);

    Settings changed = settings.current();
    changed.muted = true;  // the player turned the sound off
    settings.change(changed);
    EXPECT_EQ(settings.current(), changed);
    Settings expected = saved;
    expected.muted = true;
    EXPECT_EQ(loadSettings(folder, stderr), expected);
}

}  // namespace
}  // namespace kolvane
