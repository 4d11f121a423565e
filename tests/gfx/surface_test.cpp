// The surface's state and its lines, ellipses and region fills, checked
// against reference images and against the rules the game relies on.
#include "gfx/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <type_traits>

#include "gfx/golden.h"
#include "gfx/region.h"

namespace kolvane::gfx {
namespace {

using kolvane::testing::matchesGolden;

constexpr Color kRed(255, 0, 0);
constexpr Color kGreen(0, 0xDD, 0);
constexpr Color kBlue(0, 0, 255);

// A colour is neither a pixel nor a bare number, and is as cheap as one to copy.
static_assert(!std::is_convertible_v<std::uint32_t, Color>);
static_assert(!std::is_constructible_v<Color, std::uint32_t>);
static_assert(!std::is_convertible_v<Color, std::uint32_t>);
static_assert(!std::is_constructible_v<std::uint32_t, Color>);
static_assert(std::is_trivially_copyable_v<Color>);
// The game's 0x00BBGGRR values hold red in the low byte.
static_assert(Color::fromColorref(0x00FFBBBB) == Color(0xBB, 0xBB, 0xFF));

int countPixels(const Surface& s, Color c) {
    int n = 0;
    for (std::int32_t y = 0; y < s.height(); ++y) {
        for (std::int32_t x = 0; x < s.width(); ++x) n += s.pixel(x, y) == c ? 1 : 0;
    }
    return n;
}

TEST(SurfaceState, StartsWithTheDefaultsOfAMemoryDc) {
    const Surface s(4, 4);
    EXPECT_EQ(s.pen(), (Pen{PenStyle::kSolid, 1, kBlack}));
    EXPECT_EQ(s.brush(), kWhiteBrush);
    EXPECT_EQ(s.textColor(), kBlack);
    EXPECT_EQ(s.bkMode(), BkMode::kOpaque);
    EXPECT_EQ(countPixels(s, kBlack), 16);
}

TEST(SurfaceState, SelectingReturnsWhatWasDisplaced) {
    Surface s(4, 4);
    const Pen red = createPen(PenStyle::kDot, 1, kRed);
    const Pen old = s.selectPen(red);
    EXPECT_EQ(old, (Pen{}));
    EXPECT_EQ(s.selectPen(old), red);
    EXPECT_EQ(s.selectBrush(kGrayBrush), kWhiteBrush);
    EXPECT_EQ(s.selectBrush(kWhiteBrush), kGrayBrush);
    EXPECT_EQ(s.setTextColor(kWhite), kBlack);
    EXPECT_EQ(s.setBkColor(kBlue), kWhite);
    EXPECT_EQ(s.setBkMode(BkMode::kTransparent), BkMode::kOpaque);
}

TEST(SurfaceFrame, NewFrameIsBlackAndKeepsTheDrawingState) {
    Surface s(8, 6);
    s.selectPen(createPen(PenStyle::kSolid, 1, kGreen));
    s.setBkMode(BkMode::kTransparent);
    s.setTextColor(kWhite);
    s.moveTo(0, 0);
    s.lineTo(8, 6);
    s.newFrame(8, 6);
    EXPECT_EQ(countPixels(s, kBlack), 48);
    EXPECT_EQ(s.pen().color, kGreen);
    EXPECT_EQ(s.bkMode(), BkMode::kTransparent);
    EXPECT_EQ(s.textColor(), kWhite);
    EXPECT_EQ(s.currentPosition(), (Point{8, 6}));
}

TEST(SurfaceFrame, ShrinkingKeepsTheBufferAndGrowingClearsEverything) {
    Surface s(10, 10);
    const std::uint32_t* buffer = s.pixels();
    s.setPixel(9, 9, kWhite);
    s.newFrame(4, 3);
    EXPECT_EQ(s.pixels(), buffer);
    EXPECT_EQ(s.width(), 4);
    EXPECT_EQ(s.height(), 3);
    s.newFrame(10, 10);
    EXPECT_EQ(s.pixels(), buffer);
    EXPECT_EQ(s.pixel(9, 9), kBlack);
    s.newFrame(-5, 7);
    EXPECT_EQ(s.width(), 0);
    s.setPixel(0, 0, kWhite);  // nothing to draw on, and no harm done
}

TEST(SurfacePixel, OutsideTheBufferIsIgnoredAndReadsBlack) {
    Surface s(3, 3);
    s.setPixel(-1, 0, kWhite);
    s.setPixel(3, 1, kWhite);
    s.setPixel(1, -1, kWhite);
    s.setPixel(1, 3, kWhite);
    s.setPixel(1, 1, kRed);
    EXPECT_EQ(countPixels(s, kBlack), 8);
    EXPECT_EQ(s.pixel(1, 1), kRed);
    EXPECT_EQ(s.pixel(-1, 0), kBlack);
    // Stored as 0x00RRGGBB for the screen.
    EXPECT_EQ(s.pixels()[4], 0xFF0000u);
}

TEST(SurfaceLine, EndPointIsNotDrawnAndBecomesTheCurrentPosition) {
    Surface s(10, 10);
    s.selectPen(createPen(PenStyle::kSolid, 1, kWhite));
    s.moveTo(1, 1);
    s.lineTo(6, 1);
    EXPECT_EQ(countPixels(s, kWhite), 5);
    EXPECT_EQ(s.pixel(6, 1), kBlack);
    EXPECT_EQ(s.currentPosition(), (Point{6, 1}));
    s.lineTo(6, 1);  // zero length: nothing
    EXPECT_EQ(countPixels(s, kWhite), 5);
    s.lineTo(6, 5);  // continues from (6, 1), which is now drawn
    EXPECT_EQ(s.pixel(6, 1), kWhite);
    EXPECT_EQ(s.pixel(6, 5), kBlack);
    EXPECT_EQ(countPixels(s, kWhite), 9);
}

TEST(SurfaceLine, LinesInEveryDirection) {
    Surface s(32, 32);
    const Color colors[] = {kWhite,
                            kRed,
                            kGreen,
                            kBlue,
                            Color(255, 255, 0),
                            Color(255, 0, 255),
                            Color(0, 255, 255),
                            Color(128, 128, 128)};
    // Eight spokes from the centre, then shallow and steep slopes.
    const Point ends[] = {{28, 16}, {28, 28}, {16, 28}, {4, 28}, {4, 16}, {4, 4}, {16, 4}, {28, 4}};
    for (int i = 0; i < 8; ++i) {
        s.selectPen(createPen(PenStyle::kSolid, 1, colors[i]));
        s.moveTo(16, 16);
        s.lineTo(ends[i].x, ends[i].y);
    }
    s.selectPen(createPen(PenStyle::kSolid, 1, kWhite));
    s.moveTo(0, 0);
    s.lineTo(13, 3);
    s.moveTo(31, 31);
    s.lineTo(28, 18);
    s.moveTo(0, 31);
    s.lineTo(7, 30);
    EXPECT_TRUE(matchesGolden(s, "lines"));
}

TEST(SurfaceLine, DottedPenInBothBackgroundModes) {
    Surface s(24, 12);
    s.selectPen(createPen(PenStyle::kDot, 1, kRed));
    s.setBkColor(kBlue);
    s.moveTo(1, 1);
    s.lineTo(22, 1);
    s.moveTo(1, 3);
    s.lineTo(12, 10);
    s.setBkMode(BkMode::kTransparent);
    s.moveTo(1, 6);
    s.lineTo(22, 6);
    s.moveTo(12, 3);
    s.lineTo(23, 10);
    EXPECT_TRUE(matchesGolden(s, "dotted_lines"));
}

TEST(SurfaceLine, DotPatternRestartsAtEachLineTo) {
    Surface s(12, 3);
    s.selectPen(createPen(PenStyle::kDot, 1, kRed));
    s.setBkMode(BkMode::kTransparent);
    s.moveTo(0, 1);
    s.lineTo(3, 1);  // pixels 0 and 2 lit
    s.lineTo(6, 1);  // restarts: 3 and 5 lit
    for (std::int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(s.pixel(x, 1), (x == 0 || x == 2 || x == 3 || x == 5) ? kRed : kBlack) << x;
    }
}

TEST(SurfaceLine, NullPenDrawsNothingButMoves) {
    Surface s(8, 8);
    s.selectPen(createPen(PenStyle::kNull, 1, kWhite));
    s.moveTo(0, 0);
    s.lineTo(7, 7);
    EXPECT_EQ(countPixels(s, kBlack), 64);
    EXPECT_EQ(s.currentPosition(), (Point{7, 7}));
}

TEST(SurfaceLine, ClippingKeepsThePixelsOfTheWholeLine) {
    // The targeting line runs a thousand pixels off the field: the part on the
    // buffer must be the same pixels a big enough buffer would show.
    Surface big(1100, 500);
    Surface small(40, 30);
    for (Surface* s : {&big, &small}) {
        s->selectPen(createPen(PenStyle::kDot, 1, kRed));
        s->setBkMode(BkMode::kTransparent);
        s->moveTo(5, 7);
        s->lineTo(1005, 407);
        s->moveTo(38, 2);
        s->lineTo(-962, 29);
    }
    for (std::int32_t y = 0; y < 30; ++y) {
        for (std::int32_t x = 0; x < 40; ++x) ASSERT_EQ(small.pixel(x, y), big.pixel(x, y));
    }
    EXPECT_GT(countPixels(small, kRed), 20);
}

TEST(SurfaceLine, ExtremeCoordinatesFinishQuickly) {
    Surface s(20, 20);
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    s.moveTo(lo, lo);
    s.lineTo(hi, hi);
    s.moveTo(10, 10);
    s.lineTo(hi, 10);
    s.moveTo(10, lo);
    s.lineTo(10, 12);
    SUCCEED();
}

TEST(SurfaceEllipse, SizesFromOnePixelUp) {
    Surface s(64, 30);
    s.selectPen(createPen(PenStyle::kSolid, 1, kRed));
    s.ellipse(1, 1, 2, 2);     // 1x1
    s.ellipse(4, 1, 6, 3);     // 2x2
    s.ellipse(8, 1, 11, 4);    // 3x3
    s.ellipse(13, 1, 17, 5);   // 4x4
    s.ellipse(19, 1, 26, 5);   // 7x4
    s.ellipse(28, 1, 28, 9);   // empty: no width
    s.ellipse(30, 1, 50, 21);  // the capsule: 20x20
    s.ellipse(52, 1, 57, 12);  // tall and odd
    s.selectBrush(createSolidBrush(Color(0xBB, 0xBB, 0xFF)));
    s.selectPen(createPen(PenStyle::kSolid, 1, kWhite));
    s.ellipse(17, 24, 1, 8);  // reversed corners, pale blue with a white rim
    s.selectPen(createPen(PenStyle::kNull, 1, kWhite));
    s.ellipse(19, 8, 27, 16);  // no outline
    s.selectPen(createPen(PenStyle::kSolid, 1, kRed));
    s.selectBrush(Brush{kBlack, true});
    s.ellipse(30, 22, 62, 34);  // hollow: outline only, partly below the buffer
    EXPECT_TRUE(matchesGolden(s, "ellipses"));
}

TEST(SurfaceEllipse, EmptyRectanglesDrawNothing) {
    Surface s(10, 10);
    s.selectPen(createPen(PenStyle::kSolid, 1, kRed));
    s.ellipse(5, 5, 5, 5);  // a shrunk shield of radius 0
    s.ellipse(2, 2, 8, 2);
    s.ellipse(2, 2, 2, 8);
    EXPECT_EQ(countPixels(s, kBlack), 100);
}

TEST(SurfaceEllipse, CapsuleDiscIsSymmetricWithARimAndAWhiteInside) {
    Surface s(40, 40);
    s.selectPen(createPen(PenStyle::kSolid, 1, kRed));
    s.ellipse(10, 10, 30, 30);
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 40; ++x) {
            ASSERT_EQ(s.pixel(x, y), s.pixel(39 - x, y)) << x << "," << y;
            ASSERT_EQ(s.pixel(x, y), s.pixel(x, 39 - y)) << x << "," << y;
            ASSERT_EQ(s.pixel(x, y), s.pixel(y, x)) << x << "," << y;
        }
    }
    // Row 19 spans the whole rectangle; the top row is six pixels wide.
    EXPECT_EQ(s.pixel(9, 19), kBlack);
    EXPECT_EQ(s.pixel(10, 19), kRed);
    EXPECT_EQ(s.pixel(11, 19), kWhite);
    EXPECT_EQ(s.pixel(28, 19), kWhite);
    EXPECT_EQ(s.pixel(29, 19), kRed);  // the rectangle's last column
    EXPECT_EQ(s.pixel(16, 10), kBlack);
    EXPECT_EQ(s.pixel(17, 10), kRed);
    EXPECT_EQ(s.pixel(17, 11), kWhite);  // under the top row: inside on all four sides
    EXPECT_EQ(s.pixel(15, 11), kRed);
    EXPECT_EQ(s.pixel(19, 9), kBlack);
    // Every inside pixel: close to pi * 10^2.
    const int area = countPixels(s, kWhite) + countPixels(s, kRed);
    EXPECT_GT(area, 300);
    EXPECT_LT(area, 330);
}

TEST(SurfaceRegion, FillsOnlyTheRegionClippedToTheBuffer) {
    Surface s(30, 24);
    constexpr Point ship[] = {{15, 2}, {6, 16}, {15, 12}, {23, 16}};
    constexpr Point rock[] = {{-6, 14}, {2, 12},  {8, 16},  {6, 22},  {9, 27},
                              {1, 30},  {-4, 25}, {-2, 21}, {-8, 20}, {-5, 17}};
    constexpr Point spike[] = {{20, 18}, {40, 20}, {20, 22}};
    s.fillRegion(Region(ship, 4), kWhiteBrush);
    s.fillRegion(Region(rock, 10), kGrayBrush);
    s.fillRegion(Region(spike, 3), createSolidBrush(kGreen));
    s.fillRegion(Region(ship, 4), Brush{kRed, true});  // hollow: nothing
    EXPECT_TRUE(matchesGolden(s, "filled_regions"));
    for (std::int32_t y = 0; y < 24; ++y) {
        for (std::int32_t x = 0; x < 30; ++x) {
            ASSERT_EQ(s.pixel(x, y) == kGrayBrush.color, Region(rock, 10).contains(x, y));
        }
    }
}

TEST(SurfaceRegion, LargeRegionsFillQuickly) {
    // One paint fills dozens of regions: fills go by spans, so even full-screen
    // ones are cheap (a pixel-by-pixel inside test would take seconds here).
    Surface s(740, 580);
    constexpr Point big[] = {{-100, -50}, {900, 10}, {700, 700}, {20, 600}};
    for (int i = 0; i < 200; ++i) s.fillRegion(Region(big, 4), kGrayBrush);
    EXPECT_EQ(s.pixel(370, 290), kGrayBrush.color);
}

}  // namespace
}  // namespace kolvane::gfx
