// kolvane.exe: the game in a Win32 window (window_game.cpp), or, by its
// options, its usage, version or high-score table on the console.
#include <windows.h>

#include <string>

#include "app/settings/window_options.h"
#include "app/storage/data_folders.h"
#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "app/version.h"
#include "app/win32/console.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_game.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    kolvane::win32::attachConsoleStreams();
    kolvane::WindowOptions options;
    std::string error;
    if (!kolvane::parseWindowOptions(__argc, __argv, options, error)) {
        const std::string text = "kolvane: " + error + "\n" + kolvane::windowUsage();
        kolvane::win32::writeToConsole(text.c_str(), true);
        return 2;
    }
    if (options.help) {
        kolvane::win32::writeToConsole(kolvane::windowUsage(), false);
        return 0;
    }
    if (options.version) {
        const std::string text = std::string("kolvane ") + kolvane::kVersion + "\n";
        kolvane::win32::writeToConsole(text.c_str(), false);
        return 0;
    }
    if (options.printScores) {
        const std::string text =
            kolvane::scoreReport(kolvane::loadScoreTable(kolvane::dataFolder(), stderr));
        kolvane::win32::writeToConsole(text.c_str(), false);
        return 0;
    }
    // A recording to watch is read before any window opens.
    kolvane::Recording replay;
    if (!options.replayPath.empty()) {
        const auto read = kolvane::readRecordingFile(options.replayPath, replay, error);
        if (read != kolvane::RecordingRead::kRead) {
            const std::string text = "kolvane: recording refused: " + error + "\n";
            kolvane::win32::writeToConsole(text.c_str(), true);
            return read == kolvane::RecordingRead::kUnreadable ? 1 : 2;
        }
    }
    // Before the first window: the window's pixels are the monitor's own.
    kolvane::win32::declareDpiAwareness();
    return kolvane::win32::runWindowGame(options, instance, showCommand,
                                         options.replayPath.empty() ? nullptr : &replay);
}
