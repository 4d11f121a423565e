#include "app/web/frame_copy.h"

#include <algorithm>
#include <cstddef>

namespace kolvane::web {

namespace {
constexpr std::uint8_t kOpaque = 0xFF;
}

RgbaFrame::RgbaFrame(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    bytes_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    for (std::size_t i = 3; i < bytes_.size(); i += 4) bytes_[i] = kOpaque;
}

void RgbaFrame::convert(const gfx::Surface& surface) {
    const std::int32_t w = std::min(width_, surface.width());
    const std::int32_t h = std::min(height_, surface.height());
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint32_t* from =
            surface.pixels() + static_cast<std::size_t>(y) * surface.width();
        std::uint8_t* to = bytes_.data() + static_cast<std::size_t>(y) * width_ * 4;
        for (std::int32_t x = 0; x < w; ++x, to += 4) {
            const std::uint32_t p = from[x];
            to[0] = static_cast<std::uint8_t>(p >> 16);
            to[1] = static_cast<std::uint8_t>(p >> 8);
            to[2] = static_cast<std::uint8_t>(p);
        }
    }
}

}  // namespace kolvane::web
