// The window front end's copy of a frame into the window surface: pixel for
// pixel, in another pixel format, and scaled by whole pixels on a surface a
// whole multiple of the frame's size.
#include "app/sdl/frame_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace kolvane::sdl {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

SurfacePtr makeSurface(int w, int h, Uint32 format) {
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format));
}

std::uint32_t at(const SDL_Surface& s, int x, int y) {
    const auto* row =
        static_cast<const std::uint8_t*>(s.pixels) + static_cast<std::size_t>(y) * s.pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

// A 4 x 3 frame with a different colour in every pixel.
gfx::Surface patterned() {
    gfx::Surface frame(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) frame.setPixel(x, y, gfx::Color(10 * x + 1, 20 * y + 2, 7));
    }
    return frame;
}

TEST(FrameCopy, SameSizeIsAnExactCopy) {
    const gfx::Surface frame = patterned();
    SurfacePtr target = makeSurface(4, 3, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(target, nullptr);
    copyFrame(frame, *target);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(at(*target, x, y), frame.pixels()[y * 4 + x]) << x << "," << y;
        }
    }
}

TEST(FrameCopy, OtherPixelFormatsAreConverted) {
    const gfx::Surface frame = patterned();
    SurfacePtr target = makeSurface(4, 3, SDL_PIXELFORMAT_ABGR8888);
    ASSERT_NE(target, nullptr);
    copyFrame(frame, *target);
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRGBA(at(*target, 2, 1), target->format, &r, &g, &b, &a);
    EXPECT_EQ(r, 21);
    EXPECT_EQ(g, 22);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(a, 255);
}

TEST(FrameCopy, WholeMultipleRepeatsEveryPixelAndCentres) {
    const gfx::Surface frame = patterned();
    // Room for three times the frame (12 x 9) with two spare columns and one spare row.
    SurfacePtr target = makeSurface(14, 10, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(target, nullptr);
    SDL_FillRect(target.get(), nullptr, 0x123456);
    copyFrame(frame, *target);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(at(*target, 1 + x, y), frame.pixels()[(y / 3) * 4 + x / 3]) << x << "," << y;
        }
    }
    // The margins are left as they were.
    EXPECT_EQ(at(*target, 0, 0), 0x123456u);
    EXPECT_EQ(at(*target, 13, 4), 0x123456u);
    EXPECT_EQ(at(*target, 5, 9), 0x123456u);
}

TEST(FrameCopy, SmallerSurfaceTakesTheTopLeftPart) {
    const gfx::Surface frame = patterned();
    SurfacePtr target = makeSurface(2, 2, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(target, nullptr);
    copyFrame(frame, *target);
    EXPECT_EQ(at(*target, 1, 1), frame.pixels()[1 * 4 + 1]);
}

}  // namespace
}  // namespace kolvane::sdl
