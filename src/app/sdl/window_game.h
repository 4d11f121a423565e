#pragma once
// The game in an SDL window: a 15 ms tick on the thread that handles the
// events, and a paint after every tick shown in one copy.
namespace kolvane {
struct Recording;
struct WindowOptions;
}  // namespace kolvane

namespace kolvane::sdl {

class LoopProbe;

// Runs the game until it quits; returns the exit code (0, or 1 when no window
// could be opened). `probe` may be null. With a recording to replay, the
// window shows it being watched instead, until Escape or the close box (its
// script is moved into the viewer: a long recording is held once).
int runWindowGame(const WindowOptions& options, LoopProbe* probe, Recording* replay = nullptr);

}  // namespace kolvane::sdl
