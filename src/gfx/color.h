#pragma once
// A colour to draw with: red, green and blue, 0..255 each. It is a type of its
// own so that a surface pixel or a bare number can't be passed where a colour
// is wanted, nor a colour where a pixel is; the only ways between the two are
// toPixel and fromPixel below.
#include <cstdint>

namespace kolvane::gfx {

class Color {
public:
    constexpr Color() = default;  // black
    constexpr Color(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        : red_(red), green_(green), blue_(blue) {}

    // The game names its colours the Windows way, as 0x00BBGGRR values with
    // red in the lowest byte; this reads one such value (the top byte is ignored).
    static constexpr Color fromColorref(std::uint32_t bbggrr) {
        return {static_cast<std::uint8_t>(bbggrr & 0xFF),
                static_cast<std::uint8_t>((bbggrr >> 8) & 0xFF),
                static_cast<std::uint8_t>((bbggrr >> 16) & 0xFF)};
    }

    constexpr std::uint8_t red() const { return red_; }
    constexpr std::uint8_t green() const { return green_; }
    constexpr std::uint8_t blue() const { return blue_; }

    friend constexpr bool operator==(Color, Color) = default;

private:
    std::uint8_t red_ = 0;
    std::uint8_t green_ = 0;
    std::uint8_t blue_ = 0;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// The surface stores pixels as 0x00RRGGBB (XRGB8888), the layout screens take.
constexpr std::uint32_t toPixel(Color c) {
    return (std::uint32_t{c.red()} << 16) | (std::uint32_t{c.green()} << 8) | c.blue();
}
constexpr Color fromPixel(std::uint32_t pixel) {
    return {static_cast<std::uint8_t>((pixel >> 16) & 0xFF),
            static_cast<std::uint8_t>((pixel >> 8) & 0xFF),
            static_cast<std::uint8_t>(pixel & 0xFF)};
}

}  // namespace kolvane::gfx
