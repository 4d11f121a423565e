#pragma once
// The game's own bitmap font for ASCII 32..126: a fixed 6-pixel advance, so
// the longest help line (42 characters) fits 260 pixels.
#include <cstdint>

namespace kolvane::gfx::font {

inline constexpr std::int32_t kAdvance = 6;      // pixels from one character to the next
inline constexpr std::int32_t kCellHeight = 12;  // pixels of one text line

// Row bits of a character's cell, kCellHeight rows, bit 0 = leftmost column.
// Column 0 is always blank: it is the gap between characters. Capitals stand
// on rows 3..9, descenders reach row 11.
// Characters outside 32..126 draw as '?'.
const std::uint8_t* glyph(char c);

inline constexpr std::int32_t textWidth(std::int32_t length) {
    return length * kAdvance;
}

}  // namespace kolvane::gfx::font
