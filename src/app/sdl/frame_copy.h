#pragma once
// Puts a finished frame into the window's surface.
#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/surface.h"

namespace kolvane::sdl {

// Copies a frame into the window's surface in the surface's own pixel format.
// A surface k times the frame's size or more in both directions (a high-DPI
// window) gets every pixel as a k x k block, centred: scaled by whole pixels
// only, never smoothed.
inline void copyFrame(const gfx::Surface& frame, SDL_Surface& target) {
    const int width = frame.width();
    const int height = frame.height();
    if (width <= 0 || height <= 0) return;
    const int scale = std::min(target.w / width, target.h / height);
    // 0x00RRGGBB, the frame's own pixel layout.
    const bool sameLayout = target.format->BytesPerPixel == 4 && target.format->Rmask == 0xFF0000 &&
                            target.format->Gmask == 0x00FF00 && target.format->Bmask == 0x0000FF;
    const int pitch = frame.width() * static_cast<int>(sizeof(std::uint32_t));
    if (scale < 2 || !sameLayout) {
        SDL_ConvertPixels(std::min(width, target.w), std::min(height, target.h),
                          SDL_PIXELFORMAT_RGB888, frame.pixels(), pitch, target.format->format,
                          target.pixels, target.pitch);
        return;
    }
    const int left = (target.w - width * scale) / 2;
    const int top = (target.h - height * scale) / 2;
    auto* base = static_cast<std::uint8_t*>(target.pixels);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = frame.pixels() + static_cast<std::size_t>(y) * frame.width();
        auto* first = reinterpret_cast<std::uint32_t*>(
                          base + static_cast<std::size_t>(top + y * scale) * target.pitch) +
                      left;
        for (int x = 0; x < width; ++x) {
            std::fill_n(first + static_cast<std::ptrdiff_t>(x) * scale, scale, in[x]);
        }
        for (int r = 1; r < scale; ++r) {
            std::memcpy(base + static_cast<std::size_t>(top + y * scale + r) * target.pitch +
                            static_cast<std::size_t>(left) * 4,
                        first, static_cast<std::size_t>(width) * scale * 4);
        }
    }
}

}  // namespace kolvane::sdl
