#pragma once
// The game in an SDL window: a 15 ms tick on the thread that handles the
// events, and a paint after every tick shown in one copy. The window turns
// SDL's events into the front-end core's calls and puts its frames and
// sound on the screen and speaker; the core decides the rest.
namespace kolvane {
struct WindowLaunch;
}  // namespace kolvane

namespace kolvane::sdl {

class LoopProbe;

// Runs the game until it quits; returns the exit code (0, or 1 when no window
// could be opened). `probe` may be null. With a recording to replay, the
// window shows it being watched instead, until Escape or the close box.
int runWindowGame(WindowLaunch& launch, LoopProbe* probe);

// No window: `what` and the reason on standard error, and the message box.
void showNoWindow(const char* what, const char* reason);

}  // namespace kolvane::sdl
