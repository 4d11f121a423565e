#pragma once
// The game's platform on SDL: the held keys from SDL's keyboard state, the
// clock from the C library, message boxes from SDL, and a quit request the
// main loop checks after every event and tick.
#include <SDL.h>

#include "core/platform.h"

namespace kolvane::sdl {

class SdlPlatform final : public Platform {
public:
    void readKeyboard(KeyboardState& keys) const override;
    std::int32_t timeSeconds() const override;
    void quit() override { quitRequested_ = true; }
    void messageBox(const char* text, const char* caption) override;

    bool quitRequested() const { return quitRequested_; }
    // The window message boxes are shown over; none until it exists.
    void setWindow(SDL_Window* window) { window_ = window; }

private:
    SDL_Window* window_ = nullptr;
    bool quitRequested_ = false;
};

}  // namespace kolvane::sdl
