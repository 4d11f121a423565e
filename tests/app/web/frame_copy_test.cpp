#include <gtest/gtest.h>

#include "app/web/frame_copy.h"
#include "gfx/surface.h"

namespace kolvane::web {
namespace {

std::array<int, 4> rgbaAt(const RgbaFrame& frame, int x, int y) {
    const std::uint8_t* p = frame.bytes() + (y * frame.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(WebRgbaFrame, StartsOpaqueBlack) {
    const RgbaFrame frame(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(rgbaAt(frame, x, y), (std::array<int, 4>{0, 0, 0, 255}));
    }
}

TEST(WebRgbaFrame, SurfacePixelsBecomeRedGreenBlueOpaque) {
    gfx::Surface surface(4, 3);
    surface.setPixel(0, 0, gfx::Color(255, 0, 0));
    surface.setPixel(3, 2, gfx::Color(0, 0, 255));
    surface.setPixel(1, 1, gfx::Color(0xBB, 0xBB, 0xFF));  // the shield's pale blue
    const std::uint32_t* pixels = surface.pixels();
    RgbaFrame frame(4, 3);
    frame.convert(surface);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t p = pixels[y * 4 + x];
            EXPECT_EQ(rgbaAt(frame, x, y), (std::array<int, 4>{static_cast<int>(p >> 16 & 0xFF),
                                                               static_cast<int>(p >> 8 & 0xFF),
                                                               static_cast<int>(p & 0xFF), 255}))
                << x << "," << y;
        }
    }
    EXPECT_EQ(rgbaAt(frame, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(rgbaAt(frame, 3, 2), (std::array<int, 4>{0, 0, 255, 255}));
}

TEST(WebRgbaFrame, ANewFrameOverwritesTheLastOne) {
    gfx::Surface surface(2, 2);
    surface.setPixel(1, 1, gfx::kWhite);
    RgbaFrame frame(2, 2);
    frame.convert(surface);
    EXPECT_EQ(rgbaAt(frame, 1, 1), (std::array<int, 4>{255, 255, 255, 255}));
    surface.newFrame(2, 2);
    frame.convert(surface);
    EXPECT_EQ(rgbaAt(frame, 1, 1), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(WebRgbaFrame, ASmallerSurfaceLeavesTheRestBlackAndALargerOneIsClipped) {
    gfx::Surface small(1, 1);
    small.setPixel(0, 0, gfx::kWhite);
    RgbaFrame frame(2, 2);
    frame.convert(small);
    EXPECT_EQ(rgbaAt(frame, 0, 0), (std::array<int, 4>{255, 255, 255, 255}));
    EXPECT_EQ(rgbaAt(frame, 1, 1), (std::array<int, 4>{0, 0, 0, 255}));

    gfx::Surface large(3, 3);
    large.setPixel(2, 2, gfx::kWhite);
    large.setPixel(1, 0, gfx::Color(0, 255, 0));
    frame.convert(large);
    EXPECT_EQ(rgbaAt(frame, 1, 0), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_EQ(rgbaAt(frame, 1, 1), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(WebRgbaFrame, TheBufferIsMadeOnce) {
    gfx::Surface surface(8, 8);
    RgbaFrame frame(8, 8);
    const std::uint8_t* before = frame.bytes();
    for (int i = 0; i < 3; ++i) frame.convert(surface);
    EXPECT_EQ(frame.bytes(), before);
}

}  // namespace
}  // namespace kolvane::web
