#pragma once
// Where the finished frame goes in a window of any size: its aspect ratio
// kept, centred, black around it. Sharp mode fills the window's shorter side
// (the largest whole factor by whole pixels, the remainder smoothed); whole
// mode uses only the largest whole factor. A window smaller than the frame
// shows it at 1x, centred and cut at the edges.
#include <cstdint>

#include "app/settings/settings.h"

namespace kolvane {

struct ScaleLayout {
    std::int32_t factor = 1;  // the largest whole factor that fits, at least 1
    // The scaled frame's place in the window; it may reach past the window's
    // edges only when the window is smaller than the frame.
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ScaleLayout&, const ScaleLayout&) = default;
};

// The largest whole factor k with k x frame inside the area, at least 1.
std::int32_t largestWholeScale(std::int32_t frameWidth, std::int32_t frameHeight,
                               std::int32_t areaWidth, std::int32_t areaHeight);

// The frame's place in a window of the given size (all sizes in pixels).
ScaleLayout scaleLayout(std::int32_t frameWidth, std::int32_t frameHeight, std::int32_t windowWidth,
                        std::int32_t windowHeight, ScaleMode mode);

}  // namespace kolvane
