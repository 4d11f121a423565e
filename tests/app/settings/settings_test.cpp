// The settings' text.
#include "app/settings/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

TEST(Settings, RoundTripAndForgiveBadLines) {
    Settings s;
    s.scaleMode = ScaleMode::kWhole;
    s.fullscreen = true;
    s.record = false;
    s.showScores = false;
    s.volume = 35;
    s.muted = true;
    s.server = "https://scores.example.org/kolvane";
    s.name = "Åsa Öberg";
    s.submit = true;
    s.worldScores = true;
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
// A line of text: blanks around it dropped, empty for none, and refused
// (the setting left as it was) with a control character or too long.
TEST(Settings, TextSettingsTakeOneLineOfText) {
    std::vector<std::string> problems;
    const Settings read = parseSettings(
        "server =\nname =  Ann Lee \nname = Ann\x07\nserver = " + std::string(513, 'x') + "\n",
        problems);
    EXPECT_EQ(read.server, "");
    EXPECT_EQ(read.name, "Ann Lee");
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "3: bad value \"Ann\x07\" for name",
                            "4: bad value \"" + std::string(513, 'x') + "\" for server"}));
    EXPECT_NE(formatSettings(Settings{}).find("\nserver =\nname =\nsubmit = false\n"),
              std::string::npos);
}

// The ends of the volume's range are volumes too.
TEST(Settings, VolumeTakesZeroAndAHundred) {
    for (const int volume : {0, 100}) {
        std::vector<std::string> problems;
        EXPECT_EQ(parseSettings("volume = " + std::to_string(volume) + "\n", problems).volume,
                  volume);
        EXPECT_TRUE(problems.empty()) << volume;
    }
}
}  // namespace
}  // namespace kolvane
