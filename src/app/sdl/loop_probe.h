#pragma once
// The one seam in the window's loop: the measurement build (bench/, built as
// kolvane-pacing) passes a probe to see when the loop wakes, ticks and shows
// frames. The shipped program passes none and the loop records nothing.
struct SDL_Window;

namespace kolvane::sdl {

class LoopProbe {
public:
    virtual void windowOpened(SDL_Window* window) = 0;
    // Each time the loop's wait for the next tick returns.
    virtual void wokeUp() = 0;
    virtual void tickStarted() = 0;
    virtual void framePresented() = 0;
    virtual void keyDown(int virtualKey) = 0;

protected:
    ~LoopProbe() = default;
};

}  // namespace kolvane::sdl
