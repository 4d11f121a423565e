#pragma once
// The SDL window and its surface: each frame is scaled once into the window's
// own surface (app/front_end/frame_scaler.h), which SDL hands to the window system in
// one piece. The window can be resized, maximised and made fullscreen; the
// frame keeps its shape, with black around it.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/front_end/frame_scaler.h"
#include "app/settings/settings.h"
#include "gfx/surface.h"

namespace kolvane::sdl {

struct VideoOptions {
    int scale = 0;  // the window at this many times the frame; 0: the largest that fits
    bool fullscreen = false;
    ScaleMode mode = ScaleMode::kSharp;
};

class Video {
public:
    Video() = default;
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;
    ~Video();

    // Opens the window; false with the reason in error when there is no
    // display to show it on or SDL can't make the window.
    bool open(const VideoOptions& options, std::string& error);
    // Scales a frame into the window's surface; shown by show(). The frame
    // must outlive the window: it is drawn again when the window changes.
    void upload(const gfx::Surface& frame);
    // Hands the rows the last upload changed to the window system; showAll()
    // the whole surface.
    void show();
    void showAll();
    // Exposed, resized, moved to another screen: the last frame again.
    void handleWindowEvent(const SDL_WindowEvent& event);

    // Borderless fullscreen on the window's display, or back to the window
    // it was.
    void setFullscreen(bool on);
    bool fullscreen() const;
    void setPointerHidden(bool hidden);

    SDL_Window* window() const { return window_; }

private:
    SDL_Window* window_ = nullptr;
    ScaleMode mode_ = ScaleMode::kSharp;
    FrameScaler scaler_;
    SDL_Surface* surface_ = nullptr;  // the surface last drawn into
    int shownWidth_ = 0;
    const gfx::Surface* frame_ = nullptr;
    // The frame scaled in its own pixel layout, for a surface with another.
    std::vector<std::uint32_t> converted_;
    int windowedWidth_ = 0;
    int windowedHeight_ = 0;
    bool pointerHidden_ = false;
};

}  // namespace kolvane::sdl
