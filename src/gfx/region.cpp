#include "gfx/region.h"

#include <algorithm>
#include <limits>

namespace kolvane::gfx {

namespace {

// floor(a / b) for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}

}  // namespace

Region::Region(const Point* points, int n) {
    count_ = std::clamp(n, 0, kMaxPoints);
    std::copy_n(points, count_, points_.begin());
    if (count_ == 0) return;
    std::int32_t lo = points_[0].y;
    std::int32_t hi = points_[0].y;
    for (int i = 1; i < count_; ++i) {
        lo = std::min(lo, points_[i].y);
        hi = std::max(hi, points_[i].y);
    }
    top_ = lo;
    bottom_ = hi;  // rows lo..hi-1: y + 0.5 must lie strictly below the lowest vertex
}

int Region::crossings(std::int32_t y, std::int64_t* t) const {
    int n = 0;
    for (int i = 0; i < count_; ++i) {
        Point a = points_[i];
        Point b = points_[(i + 1) % count_];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        // y + 0.5 strictly between a.y and b.y.
        if (y < a.y || y >= b.y) continue;
        // The edge crosses Y = y + 0.5 at X with 2X*dy = num; pixel x counts the
        // crossing when 2X <= 2x + 1, that is when x >= ceil((num - dy) / 2dy).
        const std::int64_t dy = std::int64_t{b.y} - a.y;
        const std::int64_t num =
            2 * std::int64_t{a.x} * dy + (2 * std::int64_t{y} + 1 - 2 * std::int64_t{a.y}) *
                                             (std::int64_t{b.x} - a.x);
        t[n++] = -floorDiv(-(num - dy), 2 * dy);
    }
    std::sort(t, t + n);
    return n;
}

bool Region::contains(std::int32_t x, std::int32_t y) const {
    if (empty() || y < top_ || y >= bottom_) return false;
    std::int64_t t[kMaxPoints];
    const int n = crossings(y, t);
    int count = 0;
    for (int k = 0; k < n; ++k) count += (x >= t[k]) ? 1 : 0;
    return (count & 1) != 0;
}

bool Region::intersects(const Rect& r) const {
    bool hit = false;
    if (r.left >= r.right) return false;
    forEachSpan(r.top, r.bottom, [&](std::int32_t, std::int64_t x0, std::int64_t x1) {
        if (x0 < r.right && x1 > r.left) hit = true;
    });
    return hit;
}

Rect Region::box() const {
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    std::int64_t right = std::numeric_limits<std::int64_t>::min();
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool any = false;
    forEachSpan(top_, bottom_, [&](std::int32_t y, std::int64_t x0, std::int64_t x1) {
        if (!any) top = y;
        any = true;
        bottom = y + 1;
        left = std::min(left, x0);
        right = std::max(right, x1);
    });
    if (!any) return {};
    return {static_cast<std::int32_t>(left), top, static_cast<std::int32_t>(right), bottom};
}

}  // namespace kolvane::gfx
