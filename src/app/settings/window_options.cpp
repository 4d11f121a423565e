#include "app/settings/window_options.h"

#include <charconv>
#include <string_view>

namespace kolvane {

namespace {

bool parseScale(std::string_view text, int& scale) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
    return ec == std::errc{} && end == text.data() + text.size() && scale >= 1 &&
           scale <= kMaxScale;
}

}  // namespace

bool parseWindowOptions(int argc, const char* const* argv, WindowOptions& options,
                        std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // The value of an option that takes one.
        const auto value = [&](std::string_view& out) {
            if (i + 1 >= argc) {
                error = "option " + std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string_view v;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--scores") {
            options.printScores = true;
        } else if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--mute") {
            options.muted = true;
        } else if (arg == "--no-record") {
            options.record = false;
        } else if (arg == "--replay") {
            if (!value(v)) return false;
            if (v.empty()) {
                error = "--replay needs a file name";
                return false;
            }
            options.replayPath = std::string(v);
        } else if (arg == "--scale") {
            if (!value(v)) return false;
            int scale = 0;
            if (!parseScale(v, scale)) {
                error = "bad --scale \"" + std::string(v) + "\" (expected 1 to " +
                        std::to_string(kMaxScale) + ")";
                return false;
            }
            options.scale = scale;
        } else if (arg == "--scale-mode") {
            if (!value(v)) return false;
            ScaleMode mode{};
            if (!parseScaleMode(v, mode)) {
                error = "bad --scale-mode \"" + std::string(v) + "\" (expected sharp or whole)";
                return false;
            }
            options.scaleMode = mode;
        } else {
            error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        }
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
    return "usage: kolvane [OPTION]...\n"
           "Kolvane, an arcade shooter. With no options the game starts in a window.\n"
           "\n"
           "  --fullscreen            start in fullscreen (F11 or Alt+Enter switches)\n"
           "  --scale N               open the window at N times 740 x 580 (1 to 8; by\n"
           "                          default the largest that fits the screen)\n"
           "  --scale-mode sharp|whole\n"
           "                          sharp: whole pixels, the remainder smoothed (default);\n"
           "                          whole: whole pixels only, with black borders\n"
           "  --mute                  start with the sound off\n"
           "  --no-record             don't record this session\n"
           "  --replay FILE           watch a recorded game (Space pauses, Right arrow\n"
           "                          holds x4 speed, Escape stops)\n"
           "  --scores                print the high-score table and exit\n"
           "  --version               print the version and exit\n"
           "  --help                  print this help and exit\n";
}

}  // namespace kolvane
