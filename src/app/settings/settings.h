#pragma once
// The player's settings, kept between runs in a small text file of
// "name = value" lines (settings.ini in the config folder; localStorage on the
// web). Command-line options override them for one run. An unknown or
// malformed line is reported and ignored; it never stops the game.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// How the 740 x 580 frame is enlarged to the window: sharp (the largest whole
// factor, then the small remainder smoothed) or whole pixels only.
enum class ScaleMode : std::uint8_t { kSharp, kWhole };

struct Settings {
    static constexpr int kMaxVolume = 100;
    // The longest server address and player name a setting takes, in bytes
    // (a name is 1 to 20 characters of up to 4 bytes each).
    static constexpr std::size_t kMaxServerLength = 512;
    static constexpr std::size_t kMaxNameLength = 80;

    ScaleMode scaleMode = ScaleMode::kSharp;
    bool fullscreen = false;
    bool record = true;      // every session is recorded
    bool showScores = true;  // the high-score table over the title screen
    int volume = 80;         // 0 to kMaxVolume
    bool muted = false;
    // The world table (a leaderboard server): its address, empty for none
    // (then no world feature and no network traffic at all); the player's
    // name there; whether each finished game is sent by itself; whether the
    // title screen shows the world's top ten instead of the local table.
    std::string server;
    std::string name;
    bool submit = false;
    bool worldScores = false;
    friend bool operator==(const Settings&, const Settings&) = default;
};

const char* scaleModeName(ScaleMode mode);
// "sharp" or "whole"; false for anything else.
bool parseScaleMode(std::string_view word, ScaleMode& mode);

// Reads the text of a settings file over the defaults. Each problem (an
// unknown name, a bad value, a line that is not "name = value") is added to
// `problems` as "LINE: what is wrong" and the line is skipped.
Settings parseSettings(std::string_view text, std::vector<std::string>& problems);

// The text of a settings file, every setting on its own line.
std::string formatSettings(const Settings& settings);

// Copies into kept each setting that differs between before and after.
void keepChangedSettings(const Settings& before, const Settings& after, Settings& kept);

}  // namespace kolvane
