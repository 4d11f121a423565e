#pragma once
// The SDL window and its surface: each frame is copied once into the window's
// own surface, which SDL hands to the window system in one piece.
#include <SDL.h>

#include <string>

#include "gfx/surface.h"

namespace kolvane::sdl {

class Video {
public:
    Video() = default;
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;
    ~Video();

    // Opens the window; false with the reason in error when there is no
    // display to show it on or SDL can't make the window.
    bool open(std::string& error);
    // Copies a frame into the window's surface; shown by show().
    void upload(const gfx::Surface& frame);
    void show();

    SDL_Window* window() const { return window_; }

private:
    SDL_Window* window_ = nullptr;
    // The surface last filled black around the frame, and its size: the
    // surface is made again only when the window's size changes.
    SDL_Surface* cleared_ = nullptr;
    int clearedWidth_ = 0;
    int clearedHeight_ = 0;
};

}  // namespace kolvane::sdl
