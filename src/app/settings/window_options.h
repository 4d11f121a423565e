#pragma once
// The command line of the window programs (kolvane and kolvane.exe). With no
// arguments the game starts as it always did; each option overrides the
// player's settings for one run.
#include <optional>
#include <string>

#include "app/settings/settings.h"

namespace kolvane {

struct WindowOptions {
    bool help = false;
    bool version = false;
    bool printScores = false;            // --scores: print the high-score table and exit
    std::string submitPath;              // --submit FILE: send a recording to the world table
    bool printWorld = false;             // --world: print the world table's top and exit
    std::string replayPath;              // --replay FILE: watch a recording
    std::optional<bool> fullscreen;      // --fullscreen
    std::optional<int> scale;            // --scale N: the window at N times the frame
    std::optional<ScaleMode> scaleMode;  // --scale-mode sharp|whole
    std::optional<bool> muted;           // --mute
    std::optional<bool> record;          // --no-record
};

inline constexpr int kMaxScale = 8;

// Reads argv[1..argc); on a bad option returns false with error set.
bool parseWindowOptions(int argc, const char* const* argv, WindowOptions& options,
                        std::string& error);

// The settings for this run: the saved ones with the options laid over them.
Settings applyOptions(Settings settings, const WindowOptions& options);

// The text --help prints.
const char* windowUsage();

}  // namespace kolvane
