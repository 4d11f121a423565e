#pragma once
// The contract between a window and the front-end core (front_end_core.h),
// written as code: what the core asks of a window. A window implements these
// and turns its platform's events into the core's calls; it decides nothing
// about the game. src/app/template is the plainest window that does so.
namespace kolvane {

namespace gfx {
class Surface;
}
namespace sound {
class GameSound;
}

class FrontEndWindow {
public:
    // Puts a finished frame on the screen, scaled as the window likes. The
    // frame lives until the next call: a window that must draw it again (an
    // expose, a resize) may keep the reference.
    virtual void present(const gfx::Surface& frame) = 0;
    virtual bool fullscreen() const = 0;
    virtual void setFullscreen(bool on) = 0;
    virtual void setPointerHidden(bool hidden) = 0;
    // The sound is made: the window starts its audio output, which pulls
    // samples with sound.render() until stopSound() (the core calls it
    // before the sound goes).
    virtual void playSound(sound::GameSound& sound) = 0;
    virtual void stopSound() = 0;
    // For a window that shows whether the sound is off (the page's button).
    virtual void showMuted(bool /*muted*/) {}
    // One of the game's message boxes.
    virtual void messageBox(const char* text, const char* caption) = 0;
    // The program ends (Escape, the close box, watching stopped): called
    // once, after everything was kept. The window stops its loop.
    virtual void end() = 0;

protected:
    ~FrontEndWindow() = default;
};

}  // namespace kolvane
