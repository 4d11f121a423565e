#pragma once
// The measurement build's probe of the window's loop (kolvane-pacing): when
// each tick ran, when the first frame was shown, the CPU time used and the
// heap allocations made before and after the first S key, written to a log
// file when the game ends.
#include "app/sdl/loop_probe.h"

namespace kolvane::bench {

class PacingLog final : public sdl::LoopProbe {
public:
    // Starts the clocks; the log goes to `path` at end().
    explicit PacingLog(const char* path);

    void windowOpened(SDL_Window* window) override;
    void wokeUp() override;
    void tickStarted() override;
    void framePresented() override;
    void keyDown(int virtualKey) override;
    // Writes the figures and every tick time to the log file.
    void end();
};

}  // namespace kolvane::bench
