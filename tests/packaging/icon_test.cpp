// The application icon: the ship's arrowhead, white on black, centred with a
// margin, nose up with the notch at the rear, at every size the theme gets;
// and the files the build installs are exactly these pictures.
#include <gtest/gtest.h>

#include <string>

#include "gfx/png.h"
#include "ship_icon.h"

namespace kolvane::icon {
namespace {

class IconSize : public ::testing::TestWithParam<int> {};

TEST_P(IconSize, IsWhiteOnBlackOnly) {
    const int size = GetParam();
    const gfx::Surface s = drawIcon(size);
    ASSERT_EQ(s.width(), size);
    ASSERT_EQ(s.height(), size);
    int white = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const gfx::Color c = s.pixel(x, y);
            ASSERT_TRUE(c == gfx::kWhite || c == gfx::kBlack) << x << "," << y;
            white += c == gfx::kWhite;
        }
    }
    // The hull's area is 2 sin(60) r^2 / 2 * 2 with r = 0.44 of the side: 16.8 %.
    const double share = static_cast<double>(white) / (size * size);
    EXPECT_GT(share, 0.15);
    EXPECT_LT(share, 0.19);
}

TEST_P(IconSize, IsCentredWithAMargin) {
    const int size = GetParam();
    const gfx::Surface s = drawIcon(size);
    int left = size, right = -1, top = size, bottom = -1;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (s.pixel(x, y) == gfx::kBlack) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const int margin = size / 16;
    EXPECT_GE(left, margin);
    EXPECT_GE(top, margin);
    EXPECT_LE(right, size - 1 - margin);
    EXPECT_LE(bottom, size - 1 - margin);
    EXPECT_LE(std::abs(left - (size - 1 - right)), 2) << "not centred across";
    EXPECT_LE(std::abs(top - (size - 1 - bottom)), 2) << "not centred up and down";
}

TEST_P(IconSize, PointsUpWithTheNotchAtTheRear) {
    const int size = GetParam();
    const gfx::Surface s = drawIcon(size);
    Point hull[4];
    hullOutline(size, hull);
    // Nose straight above the notch, rear corners level and below it.
    EXPECT_EQ(hull[0].x, hull[2].x);
    EXPECT_LT(hull[0].y, hull[2].y);
    EXPECT_EQ(hull[1].y, hull[3].y);
    EXPECT_GT(hull[1].y, hull[2].y);
    EXPECT_LT(hull[1].x, hull[2].x);
    EXPECT_GT(hull[3].x, hull[2].x);
    // Just under the notch it is dark in the middle and lit on both sides.
    const int y = hull[2].y + size / 32 + 1;
    const int x = hull[2].x;
    EXPECT_EQ(s.pixel(x, y), gfx::kBlack);
    EXPECT_EQ(s.pixel(x - size / 6, y), gfx::kWhite);
    EXPECT_EQ(s.pixel(x + size / 6, y), gfx::kWhite);
    // Just under the nose it is lit.
    EXPECT_EQ(s.pixel(x, hull[0].y + 2), gfx::kWhite);
}

TEST_P(IconSize, IsNearlyMirrorSymmetric) {
    const int size = GetParam();
    const gfx::Surface s = drawIcon(size);
    int differing = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) differing += s.pixel(x, y) != s.pixel(size - 1 - x, y);
    }
    // Truncated corners may shift an edge by a pixel on one side only.
    EXPECT_LE(differing, 4 * size);
}

TEST_P(IconSize, TheBuildsFileIsThisPicture) {
    const int size = GetParam();
    const std::string side = std::to_string(size);
    const std::string path = std::string(KOLVANE_ICON_DIR) + "/" + side + "x" + side + "/apps/" +
                             KOLVANE_APP_ID + ".png";
    gfx::Image file;
    std::string error;
    ASSERT_TRUE(gfx::readPng(path, file, error)) << error;
    const gfx::Surface drawn = drawIcon(size);
    ASSERT_EQ(file.width, size);
    ASSERT_EQ(file.height, size);
    EXPECT_TRUE(std::equal(file.pixels.begin(), file.pixels.end(), drawn.pixels()));
}

INSTANTIATE_TEST_SUITE_P(ThemeSizes, IconSize, ::testing::Values(48, 128, 256));

}  // namespace
}  // namespace kolvane::icon
