// The one pixel rule of regions: even-odd polygons whose pixels are inside
// when their centres are. Fill, hit test and bounding box must agree on it.
#include "gfx/region.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace kolvane::gfx {
namespace {

constexpr Point kTriangle[] = {{2, 1}, {10, 5}, {3, 9}};
// The ship's arrowhead: its fourth corner is its centre, which cuts the notch.
constexpr Point kArrowhead[] = {{370, 280}, {361, 294}, {370, 290}, {378, 294}};
// A crown: four spikes sharper than a pixel at their tips, then a pointed base.
constexpr Point kCrown[] = {{0, 10}, {0, 0},  {3, 6},  {6, 0},   {9, 6},
                            {12, 0}, {15, 6}, {18, 0}, {18, 10}, {9, 13}};
// An irregular asteroid-like outline with a deep notch.
constexpr Point kRock[] = {{10, 0},  {16, 4}, {20, 2}, {19, 10}, {14, 9},
                           {12, 16}, {6, 14}, {0, 12}, {4, 6},   {2, 2}};

template <std::size_t N>
Region regionOf(const Point (&points)[N]) {
    return Region(points, static_cast<int>(N));
}

// The row as the region sees it, '#' inside, from x = 0.
std::string rowOf(const Region& region, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    std::string row;
    for (std::int32_t x = x0; x < x1; ++x) row += region.contains(x, y) ? '#' : '.';
    return row;
}

TEST(RegionRule, TriangleRowsMatchHandDerivedPixels) {
    const Region r = regionOf(kTriangle);
    // Worked out edge by edge from the pixel-centre crossings.
    const char* expected[] = {
        "............",  // 0
        "..#.........",  // 1
        "..###.......",  // 2
        "..#####.....",  // 3
        "..#######...",  // 4
        "...######...",  // 5
        "...####.....",  // 6
        "...###......",  // 7
        "...#........",  // 8
        "............",  // 9
    };
    for (std::int32_t y = 0; y < 10; ++y) EXPECT_EQ(rowOf(r, y, 0, 12), expected[y]) << "row " << y;
    EXPECT_EQ(r.box(), (Rect{2, 1, 9, 9}));
}

TEST(RegionRule, ArrowheadHasAnEmptyTipAndANotch) {
    const Region r = regionOf(kArrowhead);
    EXPECT_EQ(rowOf(r, 280, 360, 380), "....................");  // tip thinner than a pixel
    EXPECT_EQ(rowOf(r, 281, 360, 380), ".........##.........");
    EXPECT_EQ(rowOf(r, 285, 360, 380), "......#######.......");
    EXPECT_EQ(rowOf(r, 289, 360, 380), "....###########.....");
    EXPECT_EQ(rowOf(r, 290, 360, 380), "...######..#####....");  // the notch begins
    EXPECT_EQ(rowOf(r, 293, 360, 380), ".#...............#..");
    EXPECT_EQ(rowOf(r, 294, 360, 380), "....................");
    EXPECT_EQ(r.box(), (Rect{361, 281, 378, 294}));
}

TEST(RegionRule, ConcaveCrownRows) {
    const Region r = regionOf(kCrown);
    EXPECT_EQ(rowOf(r, 0, 0, 20), "....................");  // spike tips narrower than a pixel
    EXPECT_EQ(rowOf(r, 1, 0, 20), "#....##....##....#..");
    EXPECT_EQ(rowOf(r, 3, 0, 20), "##..####..####..##..");
    EXPECT_EQ(rowOf(r, 5, 0, 20), "##################..");  // the valleys fall between centres
    EXPECT_EQ(rowOf(r, 10, 0, 20), ".###############....");
    EXPECT_EQ(rowOf(r, 11, 0, 20), "....#########.......");
    EXPECT_EQ(rowOf(r, 12, 0, 20), ".......###..........");
    EXPECT_EQ(rowOf(r, 13, 0, 20), "....................");
    EXPECT_EQ(r.box(), (Rect{0, 1, 18, 13}));
}

// Fills a surface with the region and checks every pixel of a margin around
// it against contains(), the box against the filled pixels, and intersects()
// of every single pixel.
void expectFillHitAndBoxAgree(const Region& r, Rect area) {
    Surface s(area.right, area.bottom);
    s.fillRegion(r, kWhiteBrush);
    Rect box{};
    bool any = false;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        for (std::int32_t x = area.left; x < area.right; ++x) {
            const bool filled = s.pixel(x, y) == kWhite;
            ASSERT_EQ(filled, r.contains(x, y)) << "pixel " << x << "," << y;
            ASSERT_EQ(filled, r.intersects(Rect{x, y, x + 1, y + 1})) << x << "," << y;
            if (!filled) continue;
            if (!any) box = {x, y, x + 1, y + 1};
            any = true;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    EXPECT_EQ(r.box(), box);
}

TEST(RegionRule, FillHitTestAndBoxAgreeOnTheHandCheckedShapes) {
    expectFillHitAndBoxAgree(regionOf(kTriangle), {0, 0, 14, 12});
    expectFillHitAndBoxAgree(regionOf(kArrowhead), {355, 275, 385, 300});
    expectFillHitAndBoxAgree(regionOf(kCrown), {0, 0, 22, 16});
    expectFillHitAndBoxAgree(regionOf(kRock), {0, 0, 24, 20});
}

TEST(RegionRule, FillHitTestAndBoxAgreeOnSelfCrossingPolygons) {
    std::mt19937 generator(7);
    std::uniform_int_distribution<std::int32_t> coordinate(2, 40);
    for (int trial = 0; trial < 200; ++trial) {
        std::array<Point, Region::kMaxPoints> points{};
        const int n = 3 + trial % 8;
        for (int i = 0; i < n; ++i) points[i] = {coordinate(generator), coordinate(generator)};
        SCOPED_TRACE(trial);
        expectFillHitAndBoxAgree(Region(points.data(), n), {0, 0, 44, 44});
    }
}

TEST(RegionRect, TouchingAndEmptyRectangles) {
    const Region r = regionOf(kTriangle);
    EXPECT_FALSE(r.intersects({0, 0, 2, 2}));  // touches the corner pixel (2, 1) only by its edge
    EXPECT_TRUE(r.intersects({1, 0, 3, 2}));   // covers (2, 1)
    EXPECT_FALSE(r.intersects({9, 3, 11, 5}));
    EXPECT_TRUE(r.intersects({8, 4, 10, 6}));  // (8, 4)
    EXPECT_FALSE(r.intersects({4, 4, 4, 6}));  // empty: no width, though inside
    EXPECT_FALSE(r.intersects({4, 4, 6, 4}));  // empty: no height
    EXPECT_FALSE(r.intersects({6, 6, 4, 4}));  // reversed
    EXPECT_TRUE(r.intersects({-100, -100, 100, 100}));
}

TEST(RegionRect, ShipArrowheadAgainstCapsuleBounds) {
    const Region r = regionOf(kArrowhead);
    EXPECT_FALSE(r.intersects({341, 274, 361, 294}));  // ends one pixel short of the wing tip
    EXPECT_TRUE(r.intersects({342, 274, 362, 294}));   // reaches (361, 293)
    EXPECT_FALSE(r.intersects({369, 291, 371, 293}));  // inside the notch
}

TEST(RegionBox, NeverBuiltAndDegenerateRegionsAreEmpty) {
    EXPECT_EQ(Region().box(), (Rect{}));
    EXPECT_FALSE(Region().contains(0, 0));
    EXPECT_FALSE(Region().intersects({-10, -10, 10, 10}));
    constexpr Point line[] = {{1, 1}, {5, 5}, {9, 9}};
    EXPECT_EQ(regionOf(line).box(), (Rect{}));
    constexpr Point flat[] = {{1, 4}, {9, 4}, {5, 4}};
    EXPECT_EQ(regionOf(flat).box(), (Rect{}));
    EXPECT_EQ(Region(kTriangle, 2).box(), (Rect{}));
    EXPECT_EQ(Region(kTriangle, -3).box(), (Rect{}));
}

TEST(RegionBox, RightAndBottomAreExclusive) {
    constexpr Point square[] = {{10, 20}, {14, 20}, {14, 23}, {10, 23}};
    const Region r = regionOf(square);
    EXPECT_EQ(r.box(), (Rect{10, 20, 14, 23}));
    EXPECT_TRUE(r.contains(13, 22));
    EXPECT_FALSE(r.contains(14, 22));
    EXPECT_FALSE(r.contains(13, 23));
}

TEST(RegionCopy, ACopyIsIndependent) {
    Region a = regionOf(kTriangle);
    Region b = a;
    b = regionOf(kArrowhead);
    EXPECT_TRUE(a.contains(2, 1));
    EXPECT_EQ(a.box(), (Rect{2, 1, 9, 9}));
    EXPECT_EQ(b.box(), (Rect{361, 281, 378, 294}));
    EXPECT_EQ(a.pointCount(), 3);
}

}  // namespace
}  // namespace kolvane::gfx
