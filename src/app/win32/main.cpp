// kolvane.exe: the game in a Win32 window (window_game.cpp), or, by its
// options, its usage, version or high-score table on the console.
#include <windows.h>

#include <optional>

#include "app/front_end/window_program.h"
#include "app/win32/console.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_game.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    kolvane::win32::attachConsoleStreams();
    kolvane::WindowLaunch launch;
    if (const std::optional<int> code =
            kolvane::prepareWindowProgram(__argc, __argv, launch, kolvane::win32::writeToConsole)) {
        return *code;
    }
    // Before the first window: the window's pixels are the monitor's own.
    kolvane::win32::declareDpiAwareness();
    return kolvane::win32::runWindowGame(launch, instance, showCommand);
}
