// The block copy of the window's pixels to a device context: every pixel
// arrives in its place with its colour (no channel swap, no upside-down rows),
// a band of rows at its own height.
#include "app/win32/frame_copy.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "gfx/surface.h"

namespace kolvane::win32 {
namespace {

constexpr std::uint32_t kUntouched = 0x00123456;

// A 32-bit top-down bitmap selected into a memory DC, its bits readable.
class Target {
public:
    Target(std::int32_t width, std::int32_t height) : width_(width) {
        dc_ = CreateCompatibleDC(nullptr);
        const BITMAPINFO info = frameBitmapInfo(width, height);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        for (std::int32_t i = 0; i < width * height; ++i) bits_[i] = kUntouched;
    }
    ~Target() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC dc() const { return dc_; }
    bool ready() const { return dc_ != nullptr && bits_ != nullptr; }
    std::uint32_t at(std::int32_t x, std::int32_t y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0x00FFFFFF;
    }

private:
    std::int32_t width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// Seven by five with a different colour in every pixel, pure red top left and
// pure blue bottom right.
gfx::Surface pattern() {
    gfx::Surface s(7, 5);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            s.setPixel(x, y,
                       gfx::Color(static_cast<std::uint8_t>(30 * x + 10), 0,
                                  static_cast<std::uint8_t>(40 * y + 5)));
        }
    }
    s.setPixel(0, 0, gfx::Color(255, 0, 0));
    s.setPixel(6, 4, gfx::Color(0, 0, 255));
    return s;
}

TEST(FrameCopy, BitmapInfoIsTopDownThirtyTwoBitRgb) {
    const BITMAPINFO info = frameBitmapInfo(740, 552);
    EXPECT_EQ(info.bmiHeader.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(info.bmiHeader.biWidth, 740);
    EXPECT_EQ(info.bmiHeader.biHeight, -552);
    EXPECT_EQ(info.bmiHeader.biPlanes, 1);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
}

TEST(FrameCopy, EveryPixelArrivesInPlaceWithItsColour) {
    const gfx::Surface frame = pattern();
    Target target(7, 5);
    ASSERT_TRUE(target.ready());
    EXPECT_EQ(copyPixels(target.dc(), frame.pixels(), 7, 5, 0), 5);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            EXPECT_EQ(target.at(x, y), frame.pixels()[y * 7 + x]) << x << "," << y;
        }
    }
    // GDI's own reading, as COLORREF 0x00BBGGRR: red stays red, blue stays blue.
    EXPECT_EQ(GetPixel(target.dc(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target.dc(), 6, 4), RGB(0, 0, 255));
}

TEST(FrameCopy, ABandOfRowsLandsAtItsOwnHeight) {
    const gfx::Surface frame = pattern();
    Target target(7, 5);
    ASSERT_TRUE(target.ready());
    // Rows 2 and 3 only, as a paint of that band copies them.
    EXPECT_EQ(copyPixels(target.dc(), frame.pixels() + 2 * 7, 7, 2, 2), 2);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            const std::uint32_t expected =
                y == 2 || y == 3 ? frame.pixels()[y * 7 + x] : kUntouched;
            EXPECT_EQ(target.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST(FrameCopy, NoRowsCopyNothing) {
    Target target(3, 3);
    ASSERT_TRUE(target.ready());
    const gfx::Surface frame(3, 3);
    EXPECT_EQ(copyPixels(target.dc(), frame.pixels(), 3, 0, 0), 0);
    EXPECT_EQ(copyPixels(target.dc(), frame.pixels(), 0, 3, 0), 0);
    EXPECT_EQ(target.at(1, 1), kUntouched);
}

}  // namespace
}  // namespace kolvane::win32
