// The finished frame in a window of any size: where it goes, and its pixels.
#include "app/front_end/frame_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/front_end/scale_layout.h"

namespace kolvane {
namespace {

TEST(ScaleLayout, PlacesTheFrameInWindowsOfEverySize) {
    struct Case {
        std::int32_t width, height;
        ScaleMode mode;
        ScaleLayout expected;  // factor, x, y, width, height
    };
    const Case cases[] = {
        {740, 580, ScaleMode::kSharp, {1, 0, 0, 740, 580}},
        {1480, 1160, ScaleMode::kSharp, {2, 0, 0, 1480, 1160}},
        {2220, 1740, ScaleMode::kWhole, {3, 0, 0, 2220, 1740}},
        // A 1080p screen: the height limits, the width follows, rounded.
        {1920, 1080, ScaleMode::kSharp, {1, 271, 0, 1378, 1080}},
        {1920, 1080, ScaleMode::kWhole, {1, 590, 250, 740, 580}},
        // 1440p and 4K screens.
        {2560, 1440, ScaleMode::kWhole, {2, 540, 140, 1480, 1160}},
        {3840, 2160, ScaleMode::kSharp, {3, 542, 0, 2756, 2160}},
        {3840, 2160, ScaleMode::kWhole, {3, 810, 210, 2220, 1740}},
        // A tall window: the width limits.
        {1000, 1400, ScaleMode::kSharp, {1, 0, 308, 1000, 784}},
        // Smaller than the frame: 1x, centred and cut.
        {600, 500, ScaleMode::kSharp, {1, -70, -40, 740, 580}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scaleLayout(740, 580, c.width, c.height, c.mode), c.expected)
            << c.width << "x" << c.height << " " << scaleModeName(c.mode);
    }
    EXPECT_EQ(largestWholeScale(740, 580, 2560 - 16, 1400 - 80), 2);
    EXPECT_EQ(largestWholeScale(740, 580, 1920 - 16, 1040 - 80), 1);
    EXPECT_EQ(largestWholeScale(740, 580, 3840 - 16, 2120 - 80), 3);
    EXPECT_EQ(largestWholeScale(740, 580, 100, 100), 1);
}

constexpr std::uint32_t kGrey = 0x123456;

// A frame with a different colour in every pixel.
gfx::Surface patterned(std::int32_t width, std::int32_t height) {
    gfx::Surface frame(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            frame.setPixel(x, y, gfx::Color(40 * x + 3, 50 * y + 5, 7 * (x + y)));
        }
    }
    return frame;
}

struct Window {
    std::int32_t width, height;
    std::vector<std::uint32_t> pixels;
    Window(std::int32_t w, std::int32_t h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, kGrey) {}
    PixelTarget target() { return {pixels.data(), width, height, std::ptrdiff_t{width} * 4}; }
    std::uint32_t at(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

std::uint32_t channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

TEST(FrameScaler, WholeFactorRepeatsPixelsWithBlackBorders) {
    const gfx::Surface frame = patterned(4, 3);
    struct Case {
        ScaleMode mode;
        std::int32_t width, height, left, top;
    };
    // Sharp mode at exactly 3x; whole mode with room for 3x and a little more.
    for (const Case c :
         {Case{ScaleMode::kSharp, 12, 9, 0, 0}, Case{ScaleMode::kWhole, 15, 11, 1, 1}}) {
        Window window(c.width, c.height);
        FrameScaler scaler;
        scaler.draw(frame, window.target(), c.mode);
        for (std::int32_t y = 0; y < window.height; ++y) {
            for (std::int32_t x = 0; x < window.width; ++x) {
                const std::int32_t fx = x - c.left;
                const std::int32_t fy = y - c.top;
                const bool inside = fx >= 0 && fx < 12 && fy >= 0 && fy < 9;
                EXPECT_EQ(window.at(x, y), inside ? frame.pixels()[(fy / 3) * 4 + fx / 3] : 0u)
                    << x << "," << y;
            }
        }
    }
}

TEST(FrameScaler, SharpModeMixesOnlyAcrossPixelBorders) {
    // 4 x 3 frame pixels over 10 x 8 window pixels: 2.5x across, 2.67x down.
    const gfx::Surface frame = patterned(4, 3);
    Window window(10, 8);
    FrameScaler scaler;
    scaler.draw(frame, window.target(), ScaleMode::kSharp);
    ASSERT_EQ(scaler.layout(), (ScaleLayout{2, 0, 0, 10, 8}));
    const auto source = [&](std::int32_t x, std::int32_t y) { return frame.pixels()[y * 4 + x]; };
    // Window pixels inside one frame pixel take its colour exactly.
    EXPECT_EQ(window.at(0, 0), source(0, 0));
    EXPECT_EQ(window.at(1, 1), source(0, 0));
    EXPECT_EQ(window.at(3, 0), source(1, 0));
    EXPECT_EQ(window.at(9, 7), source(3, 2));
    // Column 2 spans frame x 0.8 to 1.2: half of each; row 2 spans frame
    // y 0.75 to 1.125: two thirds of row 0 (171 of 256).
    for (const int shift : {0, 8, 16}) {
        const std::uint32_t a = channel(source(0, 0), shift);
        const std::uint32_t b = channel(source(1, 0), shift);
        EXPECT_EQ(channel(window.at(2, 0), shift), (a * 128 + b * 128 + 128) >> 8) << shift;
        const std::uint32_t c = channel(source(0, 1), shift);
        EXPECT_EQ(channel(window.at(0, 2), shift), (a * 171 + c * 85 + 128) >> 8) << shift;
    }
}

TEST(FrameScaler, BordersAreDrawnOnlyWhenTheTargetChanges) {
    const gfx::Surface frame = patterned(4, 3);
    Window window(20, 6);  // 2x, centred, 6 columns either side
    FrameScaler scaler;
    scaler.draw(frame, window.target(), ScaleMode::kWhole);
    EXPECT_EQ(window.at(0, 0), 0u);
    window.pixels[0] = kGrey;
    scaler.draw(frame, window.target(), ScaleMode::kWhole);
    EXPECT_EQ(window.at(0, 0), kGrey) << "a border is not redrawn every frame";
    scaler.forget();
    scaler.draw(frame, window.target(), ScaleMode::kWhole);
    EXPECT_EQ(window.at(0, 0), 0u) << "after forget() it is";
    EXPECT_EQ(window.at(6, 0), frame.pixels()[0]);
}

TEST(FrameScaler, OnlyTheRowsOfChangedFrameRowsAreDrawnAndListed) {
    gfx::Surface frame = patterned(4, 3);
    Window window(12, 9);  // 3x
    FrameScaler scaler;
    scaler.draw(frame, window.target(), ScaleMode::kSharp);
    ASSERT_EQ(scaler.bandCount(), 1);
    EXPECT_EQ(scaler.band(0), (RowBand{0, 9})) << "the first draw is all of it";
    scaler.draw(frame, window.target(), ScaleMode::kSharp);
    EXPECT_EQ(scaler.bandCount(), 0) << "the same frame again";

    window.pixels[0] = kGrey;  // not the scaler's to notice
    frame.setPixel(2, 1, gfx::Color(1, 2, 3));
    scaler.draw(frame, window.target(), ScaleMode::kSharp);
    ASSERT_EQ(scaler.bandCount(), 1);
    EXPECT_EQ(scaler.band(0), (RowBand{3, 6}));
    EXPECT_EQ(window.at(6, 4), frame.pixels()[1 * 4 + 2]);
    EXPECT_EQ(window.at(0, 0), kGrey) << "rows of unchanged frame rows are left alone";

    // Sharp mode over 10 x 8 (2.67x down): window row 2 mixes frame rows 0
    // and 1, so a change in row 1 redraws it too.
    Window mixed(10, 8);
    FrameScaler sharp;
    sharp.draw(frame, mixed.target(), ScaleMode::kSharp);
    frame.setPixel(0, 1, gfx::Color(9, 9, 9));
    sharp.draw(frame, mixed.target(), ScaleMode::kSharp);
    ASSERT_EQ(sharp.bandCount(), 1);
    EXPECT_EQ(sharp.band(0), (RowBand{2, 6}));
}

TEST(FrameScaler, ASmallerWindowShowsTheMiddleAtOneToOne) {
    const gfx::Surface frame = patterned(4, 3);
    Window window(2, 1);
    FrameScaler scaler;
    scaler.draw(frame, window.target(), ScaleMode::kSharp);
    EXPECT_EQ(window.at(0, 0), frame.pixels()[1 * 4 + 1]);
    EXPECT_EQ(window.at(1, 0), frame.pixels()[1 * 4 + 2]);
}

}  // namespace
}  // namespace kolvane
