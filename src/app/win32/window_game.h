#pragma once
// The game in a Win32 window: one window procedure runs it all on one
// thread. A 15 ms window timer ticks the world and paints the frame right
// away; a paint message only shows the last finished frame, scaled to the
// client area.
#include <windows.h>

namespace kolvane {
struct Recording;
struct WindowOptions;
}  // namespace kolvane

namespace kolvane::win32 {

// Runs the game until it quits; returns the exit code (0, or 1 when no window
// could be made). With a recording to replay, the window shows it being
// watched instead, until Escape or the close box.
int runWindowGame(const WindowOptions& options, HINSTANCE instance, int showCommand,
                  Recording* replay);

}  // namespace kolvane::win32
