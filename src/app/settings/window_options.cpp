#include "app/settings/window_options.h"

#include <array>
#include <string_view>

#include "app/text/command_line.h"
#include "app/text/whole_number.h"

namespace kolvane {

namespace {

namespace option {
enum : int { kFullscreen, kScale, kScaleMode, kMute, kNoRecord, kReplay, kScores, kSubmit, kWorld };
}  // namespace option

constexpr std::array<OptionRow, 11> kOptions{{
    {option::kFullscreen,
     "--fullscreen",
     {},
     "start in fullscreen (F11 or Alt+Enter switches)",
     {}},
    {option::kScale,
     "--scale",
     "N",
     "open the window at N times 740 x 580 (1 to 8; by\ndefault the largest that fits the screen)",
     {}},
    {option::kScaleMode,
     "--scale-mode",
     "sharp|whole",
     "sharp: whole pixels, the remainder smoothed (default);\nwhole: whole pixels only, with "
     "black borders",
     {}},
    {option::kMute, "--mute", {}, "start with the sound off", {}},
    {option::kNoRecord, "--no-record", {}, "don't record this session", {}},
    {option::kReplay,
     "--replay",
     "FILE",
     "watch a recorded game (Space pauses, Right arrow\nholds x4 speed, Escape stops)",
     {}},
    {option::kScores, "--scores", {}, "print the high-score table and exit", {}},
    {option::kSubmit,
     "--submit",
     "FILE",
     "send a recording to the world table (server and name\nin settings.ini), print its "
     "verdict and exit: 0\nverified, 3 rejected, 1 no verdict",
     {}},
    {option::kWorld, "--world", {}, "print the top of the world table and exit", {}},
    kVersionRow,
    kHelpRow,
}};

bool parseScale(std::string_view text, int& scale) {
    return parseWhole(text, scale) && scale >= 1 && scale <= kMaxScale;
}

// Lays one option over the others; false with error set for a bad value.
bool apply(const GivenOption& given, WindowOptions& options, std::string& error) {
    const std::string_view v = given.value;
    switch (given.id) {
        case kHelpOption:
        case kVersionOption:
            break;
        case option::kScores:
            options.printScores = true;
            break;
        case option::kFullscreen:
            options.fullscreen = true;
            break;
        case option::kMute:
            options.muted = true;
            break;
        case option::kNoRecord:
            options.record = false;
            break;
        case option::kReplay:
            options.replayPath = std::string(v);
            break;
        case option::kSubmit:
            options.submitPath = std::string(v);
            break;
        case option::kWorld:
            options.printWorld = true;
            break;
        case option::kScale: {
            int scale = 0;
            if (!parseScale(v, scale)) {
                error = "bad --scale \"" + std::string(v) + "\" (expected 1 to " +
                        std::to_string(kMaxScale) + ")";
                return false;
            }
            options.scale = scale;
            break;
        }
        default: {
            ScaleMode mode{};
            if (!parseScaleMode(v, mode)) {
                error = "bad --scale-mode \"" + std::string(v) + "\" (expected sharp or whole)";
                return false;
            }
            options.scaleMode = mode;
            break;
        }
    }
    return true;
}

}  // namespace

bool parseWindowOptions(int argc, const char* const* argv, WindowOptions& options,
                        std::string& error) {
    CommandLine line;
    if (!parseCommandLine(argc, argv, kOptions, line, error)) return false;
    options.help = line.help;
    options.version = line.version;
    if (!line.operands.empty()) {
        error = "unexpected \"" + std::string(line.operands.front()) +
                "\" (the game takes options only)";
        return false;
    }
    for (const GivenOption& given : line.options) {
        if (!apply(given, options, error)) return false;
    }
    return true;
}

Settings applyOptions(Settings settings, const WindowOptions& options) {
    if (options.fullscreen) settings.fullscreen = *options.fullscreen;
    if (options.scaleMode) settings.scaleMode = *options.scaleMode;
    if (options.muted) settings.muted = *options.muted;
    if (options.record) settings.record = *options.record;
    return settings;
}

const char* windowUsage() {
    static const std::string text = helpText(
        "usage: kolvane [OPTION]...\n"
        "Kolvane, an arcade shooter. With no options the game starts in a window.\n",
        kOptions);
    return text.c_str();
}

}  // namespace kolvane
