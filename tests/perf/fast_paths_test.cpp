// The fast paths of the drawing layer give exactly what their plain
// definitions give: a line's minor offset stepped without division, and the
// point test that skips sorting and rejects points beside the polygon.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "gfx/region.h"
#include "gfx/surface.h"

namespace kolvane::gfx {
namespace {

// The pixels of a line from its closed form: step i of the major axis has
// the minor offset (2 * i * minor + major) / (2 * major); the end is not drawn.
std::vector<Point> plainLine(Point from, Point to) {
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t major = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
    const std::int64_t minor = xMajor ? (dy < 0 ? -dy : dy) : (dx < 0 ? -dx : dx);
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    std::vector<Point> out;
    for (std::int64_t i = 0; i < major; ++i) {
        const std::int64_t m = (xMajor ? from.x : from.y) + majorStep * i;
        const std::int64_t n =
            (xMajor ? from.y : from.x) + minorStep * ((2 * i * minor + major) / (2 * major));
        out.push_back(xMajor ? Point{static_cast<std::int32_t>(m), static_cast<std::int32_t>(n)}
                             : Point{static_cast<std::int32_t>(n), static_cast<std::int32_t>(m)});
    }
    return out;
}

TEST(FastPaths, SteppedLinesMatchTheClosedForm) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> coord(-60, 160);  // many lines start or end off the buffer
    Surface surface(100, 80);
    surface.selectPen(createPen(PenStyle::kSolid, 1, kWhite));
    for (int n = 0; n < 3000; ++n) {
        const Point a{coord(gen), coord(gen)};
        const Point b{coord(gen), coord(gen)};
        surface.newFrame(100, 80);
        surface.moveTo(a.x, a.y);
        surface.lineTo(b.x, b.y);
        std::vector<std::uint32_t> expected(100 * 80, 0);
        for (const Point& p : plainLine(a, b)) {
            if (p.x >= 0 && p.y >= 0 && p.x < 100 && p.y < 80)
                expected[p.y * 100 + p.x] = toPixel(kWhite);
        }
        ASSERT_EQ(std::vector<std::uint32_t>(surface.pixels(), surface.pixels() + 100 * 80),
                  expected)
            << "line (" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ")";
    }
}

TEST(FastPaths, PointTestAgreesWithTheFilledSpans) {
    std::mt19937 gen(54321);
    std::uniform_int_distribution<int> coord(-20, 60);
    std::uniform_int_distribution<int> corners(3, Region::kMaxPoints);
    for (int n = 0; n < 500; ++n) {
        Point pts[Region::kMaxPoints];
        const int count = corners(gen);
        for (int i = 0; i < count; ++i) pts[i] = {coord(gen), coord(gen)};
        const Region region(pts, count);
        // Inside pixels as the fill sees them (sorted crossings, span by span).
        std::vector<bool> inside(100 * 100, false);
        region.forEachSpan(-30, 70, [&](std::int32_t y, std::int64_t x0, std::int64_t x1) {
            for (std::int64_t x = x0; x < x1; ++x) inside[(y + 30) * 100 + (x + 30)] = true;
        });
        for (int y = -30; y < 70; ++y) {
            for (int x = -30; x < 70; ++x) {
                ASSERT_EQ(region.contains(x, y), inside[(y + 30) * 100 + (x + 30)])
                    << "polygon " << n << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(FastPaths, RectangleTestAgreesWithThePointTest) {
    std::mt19937 gen(777);
    std::uniform_int_distribution<int> coord(-20, 60);
    std::uniform_int_distribution<int> size(0, 6);
    for (int n = 0; n < 300; ++n) {
        Point pts[6];
        for (Point& p : pts) p = {coord(gen), coord(gen)};
        const Region region(pts, 6);
        for (int k = 0; k < 50; ++k) {
            const Rect r{coord(gen), coord(gen), 0, 0};
            const Rect rect{r.left, r.top, r.left + size(gen), r.top + size(gen)};
            bool any = false;
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) any = any || region.contains(x, y);
            }
            ASSERT_EQ(region.intersects(rect), any) << "polygon " << n;
        }
    }
}

}  // namespace
}  // namespace kolvane::gfx
