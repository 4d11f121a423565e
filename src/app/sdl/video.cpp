#include "app/sdl/video.h"

#include <cstring>

#include "app/front_end.h"
#include "app/sdl/frame_copy.h"

namespace kolvane::sdl {

namespace {

// With no display to reach, SDL falls back to an invisible off-screen driver
// unless one was asked for by name; for a player that is no window at all.
bool onScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr) return true;
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

}  // namespace

Video::~Video() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool Video::open(std::string& error) {
    // Where SDL shows the surface through a texture of its own (no native
    // surface on the platform), it is scaled up without smoothing.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    if (!onScreen()) {
        const char* driver = SDL_GetCurrentVideoDriver();
        error = std::string("no display to show a window on (SDL's video driver: ") +
                (driver != nullptr ? driver : "none") + ")";
        return false;
    }
    // X11 takes the surface as one shared-memory image. Left to itself SDL
    // would show it through an OpenGL texture instead, which under a software
    // OpenGL costs a quarter of a core and 0.3 s of start-up. Platforms
    // without a surface of their own keep the texture.
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    window_ = SDL_CreateWindow(kWindowTitle, kWindowX, kWindowY, kClientWidth, kClientHeight,
                               SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

void Video::upload(const gfx::Surface& frame) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (surface != cleared_ || surface->w != clearedWidth_ || surface->h != clearedHeight_) {
        SDL_FillRect(surface, nullptr, 0);
        cleared_ = surface;
        clearedWidth_ = surface->w;
        clearedHeight_ = surface->h;
    }
    copyFrame(frame, *surface);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void Video::show() {
    SDL_UpdateWindowSurface(window_);
}

}  // namespace kolvane::sdl
