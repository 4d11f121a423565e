#pragma once
// Timing records of the window front end, for the measurement build only
// (kolvane-pacing, built with KOLVANE_PACING_LOG): when each tick ran, when
// the first frame was shown, the CPU time used and the heap allocations made
// before and after the first S key. In the shipped program every call below
// is an empty inline function: it records nothing and writes nothing.
struct SDL_Window;

namespace kolvane::sdl::pacing {

#if defined(KOLVANE_PACING_LOG)
// First thing in main: `kolvane-pacing LOGFILE`.
void begin(int argc, char** argv);
// Notes the video driver and the window surface's size and pixel format.
void windowOpened(SDL_Window* window);
// Each time the main loop's wait for an event or a tick returns.
void wokeUp();
void tickStarted();
void framePresented();
void keyDown(int virtualKey);
// Writes the figures and every tick time to the log file.
void end();
#else
inline void begin(int /*argc*/, char** /*argv*/) {}
inline void windowOpened(SDL_Window* /*window*/) {}
inline void wokeUp() {}
inline void tickStarted() {}
inline void framePresented() {}
inline void keyDown(int /*virtualKey*/) {}
inline void end() {}
#endif

}  // namespace kolvane::sdl::pacing
