#pragma once
// Colours as the game names them: 0x00BBGGRR.
#include <cstdint>

namespace kolvane::gfx {

using Color = std::uint32_t;

constexpr Color rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr std::uint32_t redOf(Color c) { return c & 0xFF; }
constexpr std::uint32_t greenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr std::uint32_t blueOf(Color c) { return (c >> 16) & 0xFF; }

// The surface stores pixels as 0x00RRGGBB (XRGB8888), the layout screens take.
constexpr std::uint32_t toPixel(Color c) { return (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c); }
constexpr Color fromPixel(std::uint32_t p) { return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace kolvane::gfx
