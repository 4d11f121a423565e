#pragma once
// The frame as a canvas takes it: the surface's 0x00RRGGBB pixels as R, G, B
// and an opaque alpha byte each, in a buffer made once for the client size
// and reused for every frame.
#include <cstdint>
#include <vector>

#include "gfx/surface.h"

namespace kolvane::web {

class RgbaFrame {
public:
    RgbaFrame(std::int32_t width, std::int32_t height);

    // Copies the surface in, clipped to the buffer; the rest stays black.
    void convert(const gfx::Surface& surface);

    const std::uint8_t* bytes() const { return bytes_.data(); }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    std::int32_t width_;
    std::int32_t height_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace kolvane::web
