#pragma once
// The software surface every frame is drawn into: a 32-bit pixel buffer that
// keeps a device context's drawing state (pen, brush, text colour, background
// mode, current position) from one paint to the next. Its defaults are those
// of a fresh memory device context: a black one-pixel solid pen, a white
// brush, black text on an opaque white background.
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "gfx/color.h"
#include "gfx/region.h"

namespace kolvane::gfx {

enum class PenStyle : std::uint8_t { kSolid = 0, kDot = 2, kNull = 5 };

struct Pen {
    PenStyle style = PenStyle::kSolid;
    std::int32_t width = 1;
    Color color = kBlack;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Color color = kWhite;
    bool hollow = false;  // the null brush: fills nothing
    friend bool operator==(const Brush&, const Brush&) = default;
};

// The stock brushes the game uses.
inline constexpr Brush kWhiteBrush{kWhite};
inline constexpr Brush kLtGrayBrush{Color(192, 192, 192)};
inline constexpr Brush kGrayBrush{Color(128, 128, 128)};
inline constexpr Brush kBlackBrush{kBlack};

inline constexpr Pen createPen(PenStyle style, std::int32_t width, Color color) {
    return {style, width, color};
}
inline constexpr Brush createSolidBrush(Color color) {
    return {color};
}

enum class BkMode : std::uint8_t { kTransparent = 1, kOpaque = 2 };

// Text layout flags, as the game passes them.
inline constexpr unsigned kDtCenter = 0x01;
inline constexpr unsigned kDtVCenter = 0x04;
inline constexpr unsigned kDtSingleLine = 0x20;

class Surface {
public:
    Surface() = default;
    Surface(std::int32_t width, std::int32_t height) { resize(width, height); }

    // A fresh all-black bitmap of the given size. Memory is only allocated
    // when the size grows; the drawing state is kept. Negative sizes count as 0.
    void newFrame(std::int32_t width, std::int32_t height);
    void resize(std::int32_t width, std::int32_t height);

    // In discard mode drawing operations keep the drawing state (pen, brush,
    // colours, current position) but change no pixel, and a new frame is not
    // cleared: for replays that need the game's state and never a picture.
    void setDiscard(bool discard) { discard_ = discard; }
    bool discards() const { return discard_; }

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Rows top to bottom, width() pixels each, as 0x00RRGGBB.
    const std::uint32_t* pixels() const { return pixels_.data(); }
    Color pixel(std::int32_t x, std::int32_t y) const;  // black outside

    // Drawing state. select* return the object displaced.
    Pen selectPen(Pen pen);
    Brush selectBrush(Brush brush);
    Pen pen() const { return pen_; }
    Brush brush() const { return brush_; }
    Color setTextColor(Color color);
    Color textColor() const { return textColor_; }
    Color setBkColor(Color color);
    BkMode setBkMode(BkMode mode);
    BkMode bkMode() const { return bkMode_; }
    Point currentPosition() const { return current_; }

    // SetPixel.
    void setPixel(std::int32_t x, std::int32_t y, Color color);
    // MoveToEx / LineTo: a line from the current position to (x, y) in the
    // selected pen, the end point not drawn; the end becomes the current position.
    // Lines are one pixel wide whatever the pen's width. A dotted pen lights
    // every other pixel from the start of each line; the gaps take the
    // background colour in opaque mode.
    void moveTo(std::int32_t x, std::int32_t y);
    void lineTo(std::int32_t x, std::int32_t y);
    // Ellipse inscribed in the rectangle, right and bottom edges excluded:
    // the pixels whose centres lie inside, those with a neighbour outside in the
    // pen, the rest in the brush. Empty rectangles draw nothing.
    void ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // FillRgn.
    void fillRegion(const Region& region, Brush brush);
    // DrawTextA with kDtCenter, kDtVCenter and kDtSingleLine; the text is
    // clipped to the rectangle.
    void drawText(const char* text, std::int32_t length, const Rect& rect, unsigned flags);
    // TextOutA: the text's cell with its top-left corner at (x, y).
    void textOut(std::int32_t x, std::int32_t y, const char* text, std::int32_t length);

private:
    void plot(std::int32_t x, std::int32_t y, std::uint32_t pixel);
    void fillSpan(std::int32_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel);
    // The text's cells from (x, y), clipped to clip and the buffer; in opaque
    // mode the cells' background is filled first.
    void drawGlyphs(std::int64_t x, std::int64_t y, const char* text, std::int32_t length,
                    const Rect& clip);

    std::vector<std::uint32_t> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;

    Pen pen_{};
    Brush brush_{};
    Color textColor_ = kBlack;
    Color bkColor_ = kWhite;
    BkMode bkMode_ = BkMode::kOpaque;
    Point current_{};
    bool discard_ = false;
};

}  // namespace kolvane::gfx
