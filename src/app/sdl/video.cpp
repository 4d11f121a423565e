#include "app/sdl/video.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/front_end/scale_layout.h"
#include "app/session/tick_and_field.h"

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

// Where a window at 1x opens, as it always did.
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
// Room left in the display's usable area for the window's frame and title
// bar, which SDL can't tell before the window is on the screen.
constexpr int kDecorationWidth = 16;
constexpr int kDecorationHeight = 80;

// The window's scale: the one asked for, else the largest whole multiple of
// the frame that fits the usable area of the first display, at least 1.
int windowScale(int asked) {
    if (asked > 0) return asked;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return largestWholeScale(kClientWidth, kClientHeight, usable.w - kDecorationWidth,
                             usable.h - kDecorationHeight);
}

// 0x00RRGGBB in 32 bits, the frame's own pixel layout.
bool frameLayout(const SDL_Surface& surface) {
    const SDL_PixelFormat& f = *surface.format;
    return f.BytesPerPixel == 4 && f.Rmask == 0xFF0000 && f.Gmask == 0x00FF00 &&
           f.Bmask == 0x0000FF;
}

}  // namespace

Video::~Video() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool Video::open(const VideoOptions& options, std::string& error) {
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
    mode_ = options.mode;
    const int scale = windowScale(options.scale);
    windowedWidth_ = kClientWidth * scale;
    windowedHeight_ = kClientHeight * scale;
    // Larger than 1x the window goes to the middle of the display, where it fits.
    const int x = scale == 1 ? kWindowX : static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    const int y = scale == 1 ? kWindowY : static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(kWindowTitle, x, y, windowedWidth_, windowedHeight_, flags);
    if (window_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kClientWidth, kClientHeight);
    return true;
}

void Video::upload(const gfx::Surface& frame) {
    frame_ = &frame;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    // A new surface may sit where the last one was: its borders are drawn again.
    if (surface != surface_) scaler_.forget();
    surface_ = surface;
    shownWidth_ = surface->w;
    if (frameLayout(*surface)) {
        scaler_.draw(
            frame,
            {static_cast<std::uint32_t*>(surface->pixels), surface->w, surface->h, surface->pitch},
            mode_);
    } else {
        // Scaled in the frame's layout, then converted to the surface's.
        converted_.resize(static_cast<std::size_t>(surface->w) * surface->h);
        const int pitch = surface->w * static_cast<int>(sizeof(std::uint32_t));
        scaler_.draw(frame, {converted_.data(), surface->w, surface->h, pitch}, mode_);
        SDL_ConvertPixels(surface->w, surface->h, SDL_PIXELFORMAT_RGB888, converted_.data(), pitch,
                          surface->format->format, surface->pixels, surface->pitch);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void Video::show() {
    // Only the rows the last frame changed; none while nothing moves.
    std::array<SDL_Rect, FrameScaler::kMaxBands> rects{};
    const int count = scaler_.bandCount();
    for (int i = 0; i < count; ++i) {
        const RowBand& band = scaler_.band(i);
        rects[static_cast<std::size_t>(i)] = {0, band.top, shownWidth_, band.bottom - band.top};
    }
    if (count > 0) SDL_UpdateWindowSurfaceRects(window_, rects.data(), count);
}

void Video::showAll() {
    SDL_UpdateWindowSurface(window_);
}

void Video::handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The surface is made again at the new size: the last frame, scaled anew.
            if (frame_ != nullptr) upload(*frame_);
            showAll();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // A window uncovered shows the last frame again; only a tick paints anew.
            showAll();
            break;
        default:
            break;
    }
}

bool Video::fullscreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Video::setFullscreen(bool on) {
    if (on == fullscreen()) return;
    const bool maximized = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
    if (on && !maximized) SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
    SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // Window managers put a window back as it was; without one, SDL leaves
    // it at the display's size.
    if (!on && !maximized) SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
}

void Video::setPointerHidden(bool hidden) {
    if (hidden == pointerHidden_) return;
    pointerHidden_ = hidden;
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

}  // namespace kolvane::sdl
