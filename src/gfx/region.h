#pragma once
// Polygon regions (even-odd fill) as plain values: no heap, copied with the
// object that owns them. Fill, hit test and bounding box share one pixel rule:
//
//   Pixel (x, y) is inside when an odd number of the polygon's edges
//   (xa, ya)-(xb, yb) have y + 0.5 strictly between ya and yb and cross the
//   line Y = y + 0.5 at an X no greater than x + 0.5.
//
// Vertices are integers, so the scan line never meets a vertex and the test is
// exact in integer arithmetic.
#include <array>
#include <cstdint>

#include "core/geometry.h"

namespace kolvane::gfx {

class Region {
public:
    static constexpr int kMaxPoints = 10;

    // A region that was never built contains nothing.
    Region() = default;
    // The polygon of the first n points (n is clamped to 0..kMaxPoints).
    Region(const Point* points, int n);

    bool empty() const { return count_ < 3 || top_ >= bottom_; }
    int pointCount() const { return count_; }
    const Point* points() const { return points_.data(); }

    // PtInRegion.
    bool contains(std::int32_t x, std::int32_t y) const;
    // RectInRegion: any pixel of the rectangle is inside.
    bool intersects(const Rect& r) const;
    // GetRgnBox: the smallest rectangle holding every inside pixel, right and
    // bottom exclusive; (0, 0, 0, 0) when there is none.
    Rect box() const;

    // Calls emit(y, x0, x1) for every run of inside pixels x0 <= x < x1 of the
    // rows top <= y < bottom, in increasing x.
    template <class Emit>
    void forEachSpan(std::int32_t top, std::int32_t bottom, Emit&& emit) const;

private:
    // Sorted crossing thresholds of row y: pixel x is right of crossing k when
    // x >= t[k]. Returns how many.
    int crossings(std::int32_t y, std::int64_t* t) const;

    std::array<Point, kMaxPoints> points_{};
    std::int32_t count_ = 0;
    std::int32_t top_ = 0;     // first row any edge spans
    std::int32_t bottom_ = 0;  // one past the last
    // Every crossing lies between the leftmost and the rightmost vertex, so
    // no pixel outside left_ <= x < right_ is inside.
    std::int32_t left_ = 0;
    std::int32_t right_ = 0;
};

template <class Emit>
void Region::forEachSpan(std::int32_t top, std::int32_t bottom, Emit&& emit) const {
    if (empty()) return;
    if (top < top_) top = top_;
    if (bottom > bottom_) bottom = bottom_;
    std::int64_t t[kMaxPoints];
    for (std::int32_t y = top; y < bottom; ++y) {
        const int n = crossings(y, t);
        for (int k = 0; k + 1 < n; k += 2) {
            if (t[k] < t[k + 1]) emit(y, t[k], t[k + 1]);
        }
    }
}

}  // namespace kolvane::gfx
