#pragma once
// Integer client-pixel points and rectangles, and the one truncation every
// pixel coordinate goes through.
#include <cmath>
#include <cstdint>
#include <limits>

namespace kolvane {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Truncation toward zero (2.9 -> 2, -2.9 -> -2). Values beyond the 32-bit range
// saturate instead of being undefined; the game never produces them.
constexpr std::int32_t truncate(double v) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (!(v > lo)) return v != v ? 0 : std::numeric_limits<std::int32_t>::min();
    if (!(v < hi)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

// True when left <= x < right and top <= y < bottom.
constexpr bool ptInRect(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace kolvane
