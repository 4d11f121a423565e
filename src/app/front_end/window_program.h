#pragma once
// What a desktop window program (kolvane, kolvane.exe) does before its window
// opens, the same on every platform: reads its options, ends at once for
// --help, --version, --scores, --submit, --world or a bad option, and reads a
// recording to watch before any window opens. The platform's main() writes what it is given
// where its platform writes text, and opens its window with the launch.
#include <optional>

#include "app/replay/recording.h"
#include "app/settings/window_options.h"

namespace kolvane {

struct WindowLaunch {
    WindowOptions options;
    std::optional<Recording> replay;  // --replay: the recording to watch
};

// Writes text to standard output, or to standard error when `error`.
using ProgramOutput = void (*)(const char* text, bool error);

// The exit code when the program ends here, or nothing: then open the window.
std::optional<int> prepareWindowProgram(int argc, const char* const* argv, WindowLaunch& launch,
                                        ProgramOutput output);

// The message box a window program shows when it can't open its window (the
// reason goes to standard error): its caption and text.
inline constexpr const char* kNoWindowCaption = "Dodozu";
inline constexpr const char* kNoWindowText = "Could not create window!";

}  // namespace kolvane
