#include "gfx/region.h"

#include <algorithm>
#include <limits>
#include <utility>

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
    std::int32_t left = points_[0].x;
    std::int32_t right = points_[0].x;
    for (int i = 1; i < count_; ++i) {
        lo = std::min(lo, points_[i].y);
        hi = std::max(hi, points_[i].y);
        left = std::min(left, points_[i].x);
        right = std::max(right, points_[i].x);
    }
    top_ = lo;
    bottom_ = hi;  // rows lo..hi-1: y + 0.5 must lie strictly below the lowest vertex
    // A crossing at X counts for pixel x when X <= x + 0.5: left of the
    // leftmost vertex none counts, from the rightmost on all do, and a row
    // always has an even number of crossings.
    left_ = left;
    right_ = right;
}

namespace {

// The crossing of edge a-b with the line Y = y + 0.5, as the least pixel x
// that lies right of it; false when the edge does not cross that line.
inline bool crossingThreshold(Point a, Point b, std::int32_t y, std::int64_t& t) {
    if (a.y == b.y) return false;
    if (a.y > b.y) std::swap(a, b);
    // y + 0.5 strictly between a.y and b.y.
    if (y < a.y || y >= b.y) return false;
    // The edge crosses Y = y + 0.5 at X with 2X*dy = num; pixel x counts the
    // crossing when 2X <= 2x + 1, that is when x >= ceil((num - dy) / 2dy).
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const std::int64_t num =
        2 * std::int64_t{a.x} * dy +
        (2 * std::int64_t{y} + 1 - 2 * std::int64_t{a.y}) * (std::int64_t{b.x} - a.x);
    t = -floorDiv(-(num - dy), 2 * dy);
    return true;
}

}  // namespace

int Region::crossings(std::int32_t y, std::int64_t* t) const {
    int n = 0;
    for (int i = 0; i < count_; ++i) {
        const Point b = points_[i + 1 < count_ ? i + 1 : 0];
        if (crossingThreshold(points_[i], b, y, t[n])) ++n;
    }
    // Insertion sort: a row of these polygons has at most ten crossings.
    for (int i = 1; i < n; ++i) {
        const std::int64_t v = t[i];
        int k = i;
        for (; k > 0 && t[k - 1] > v; --k) t[k] = t[k - 1];
        t[k] = v;
    }
    return n;
}

// The parity of the crossings left of the pixel; their order does not matter.
bool Region::contains(std::int32_t x, std::int32_t y) const {
    if (empty() || y < top_ || y >= bottom_ || x < left_ || x >= right_) return false;
    int count = 0;
    for (int i = 0; i < count_; ++i) {
        const Point b = points_[i + 1 < count_ ? i + 1 : 0];
        std::int64_t t = 0;
        if (crossingThreshold(points_[i], b, y, t) && x >= t) ++count;
    }
    return (count & 1) != 0;
}

bool Region::intersects(const Rect& r) const {
    bool hit = false;
    if (r.left >= r.right || r.right <= left_ || r.left >= right_) return false;
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
