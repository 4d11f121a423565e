#include "gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "gfx/font.h"

namespace kolvane::gfx {

namespace {

// floor(a / b) for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}

// floor(sqrt(v)) for v >= 0, exact.
std::int64_t isqrt(std::int64_t v) {
    std::int64_t r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
    while (r > 0 && r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

// Ellipses wider or taller than this are not drawn: the inside test must stay
// exact in 64-bit integers (its products reach width^2 * height^2).
constexpr std::int64_t kMaxEllipseExtent = std::int64_t{1} << 15;

constexpr std::int64_t kMaxLineLength = std::int64_t{1} << 30;

// Intersection of two rectangles; empty when right <= left or bottom <= top.
Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

void Surface::newFrame(std::int32_t width, std::int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    if (pixels_.size() < count) pixels_.resize(count);
    if (discard_) return;
    // One memset: black is all-zero bytes, and the sanitizers check it as one
    // range instead of pixel by pixel (a soak paints millions of frames).
    if (count > 0) std::memset(pixels_.data(), 0, count * sizeof(std::uint32_t));
}

void Surface::resize(std::int32_t width, std::int32_t height) {
    newFrame(width, height);
}

Color Surface::pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
    return fromPixel(pixels_[static_cast<std::size_t>(y) * width_ + x]);
}

Pen Surface::selectPen(Pen pen) {
    return std::exchange(pen_, pen);
}
Brush Surface::selectBrush(Brush brush) {
    return std::exchange(brush_, brush);
}
Color Surface::setTextColor(Color color) {
    return std::exchange(textColor_, color);
}
Color Surface::setBkColor(Color color) {
    return std::exchange(bkColor_, color);
}
BkMode Surface::setBkMode(BkMode mode) {
    return std::exchange(bkMode_, mode);
}

void Surface::plot(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = pixel;
}

void Surface::fillSpan(std::int32_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
    if (y < 0 || y >= height_) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, width_);
    if (x0 >= x1) return;
    std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    std::fill(row + x0, row + x1, pixel);
}

void Surface::setPixel(std::int32_t x, std::int32_t y, Color color) {
    if (discard_) return;
    plot(x, y, toPixel(color));
}

void Surface::moveTo(std::int32_t x, std::int32_t y) {
    current_ = {x, y};
}

void Surface::lineTo(std::int32_t x, std::int32_t y) {
    const Point from = current_;
    current_ = {x, y};
    if (discard_ || pen_.style == PenStyle::kNull) return;

    // Step along the major axis; the minor offset after i steps is i * minor /
    // major rounded half up. Pixels i = 0 .. n-1 are drawn: the end point is not.
    const std::int64_t dx = std::int64_t{x} - from.x;
    const std::int64_t dy = std::int64_t{y} - from.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    // Lines longer than 2^30 pixels are left out so the stepping stays exact in
    // 64 bits; the game's lines are at most about a thousand pixels long.
    if (major == 0 || major > kMaxLineLength) return;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t start = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t extent = xMajor ? width_ : height_;

    // Only the steps whose major coordinate lies on the buffer can show.
    std::int64_t first = 0;
    std::int64_t last = major;  // exclusive
    if (majorStep > 0) {
        first = std::max(first, -start);
        last = std::min(last, extent - start);
    } else {
        first = std::max(first, start - extent + 1);
        last = std::min(last, start + 1);
    }

    const std::uint32_t on = toPixel(pen_.color);
    const std::uint32_t off = toPixel(bkColor_);
    const bool dotted = pen_.style == PenStyle::kDot;
    const bool paintGaps = bkMode_ == BkMode::kOpaque;
    // The minor offset q = (2 * i * minor + major) / (2 * major) kept with its
    // remainder r and stepped: each step adds 2 * minor <= 2 * major to the
    // numerator, so q grows by at most one and no division is needed.
    const std::int64_t denominator = 2 * major;
    std::int64_t q = (2 * first * minor + major) / denominator;
    std::int64_t r = (2 * first * minor + major) % denominator;
    for (std::int64_t i = first; i < last; ++i) {
        // A dotted pen lights every other pixel, counted from the start of this line.
        const bool lit = !dotted || (i % 2 == 0);
        if (lit || paintGaps) {
            const std::int64_t m = start + majorStep * i;
            const std::int64_t n = minorStart + minorStep * q;
            const std::int64_t px = xMajor ? m : n;
            const std::int64_t py = xMajor ? n : m;
            if (px >= 0 && py >= 0 && px < width_ && py < height_) {
                pixels_[static_cast<std::size_t>(py) * width_ + px] = lit ? on : off;
            }
        }
        r += 2 * minor;
        if (r >= denominator) {
            r -= denominator;
            ++q;
        }
    }
}

void Surface::ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                      std::int32_t bottom) {
    if (discard_) return;
    std::int64_t l = std::min(left, right);
    std::int64_t r = std::max(left, right);
    std::int64_t t = std::min(top, bottom);
    std::int64_t b = std::max(top, bottom);
    const std::int64_t a2 = r - l;  // twice the semi-axes
    const std::int64_t b2 = b - t;
    if (a2 <= 0 || b2 <= 0 || a2 > kMaxEllipseExtent || b2 > kMaxEllipseExtent) return;

    // Doubled coordinates about the centre: X = 2x + 1 - (l + r), Y likewise.
    // Pixel (x, y) is inside when X^2 * b2^2 + Y^2 * a2^2 <= a2^2 * b2^2. Each
    // row's inside pixels form one run [x0, x1); x0 >= x1 when the row is empty.
    const std::int64_t aa = a2 * a2;
    const std::int64_t bb = b2 * b2;
    struct Run {
        std::int64_t x0, x1;
    };
    auto runOf = [&](std::int64_t y) -> Run {
        if (y < t || y >= b) return {0, 0};
        const std::int64_t Y = 2 * y + 1 - (t + b);
        const std::int64_t rest = aa * bb - Y * Y * aa;
        if (rest < 0) return {0, 0};
        const std::int64_t k = isqrt(rest / bb);  // the largest |X| allowed
        return {-floorDiv(-(l + r - 1 - k), 2), floorDiv(l + r - 1 + k, 2) + 1};
    };

    const bool outline = pen_.style != PenStyle::kNull;
    const bool fill = !brush_.hollow;
    const std::uint32_t penPixel = toPixel(pen_.color);
    const std::uint32_t brushPixel = toPixel(brush_.color);
    const std::int64_t yFirst = std::max<std::int64_t>(t, 0);
    const std::int64_t yLast = std::min<std::int64_t>(b, height_);
    for (std::int64_t y = yFirst; y < yLast; ++y) {
        const Run run = runOf(y);
        if (run.x0 >= run.x1) continue;
        if (!outline) {
            if (fill) fillSpan(static_cast<std::int32_t>(y), run.x0, run.x1, brushPixel);
            continue;
        }
        // A pixel with a 4-neighbour outside the ellipse belongs to the outline.
        const Run above = runOf(y - 1);
        const Run below = runOf(y + 1);
        const std::int64_t x0 = std::max<std::int64_t>(run.x0, 0);
        const std::int64_t x1 = std::min<std::int64_t>(run.x1, width_);
        std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
        for (std::int64_t x = x0; x < x1; ++x) {
            const bool edge = x == run.x0 || x == run.x1 - 1 || x < above.x0 || x >= above.x1 ||
                              x < below.x0 || x >= below.x1;
            if (edge) {
                row[x] = penPixel;
            } else if (fill) {
                row[x] = brushPixel;
            }
        }
    }
}

void Surface::fillRegion(const Region& region, Brush brush) {
    if (discard_ || brush.hollow) return;
    const std::uint32_t pixel = toPixel(brush.color);
    region.forEachSpan(0, height_, [&](std::int32_t y, std::int64_t x0, std::int64_t x1) {
        fillSpan(y, x0, x1, pixel);
    });
}

void Surface::drawGlyphs(std::int64_t x, std::int64_t y, const char* text, std::int32_t length,
                         const Rect& clip) {
    if (discard_) return;
    const Rect c = intersect(clip, Rect{0, 0, width_, height_});
    if (text == nullptr || length <= 0 || c.left >= c.right || c.top >= c.bottom) return;

    const std::int64_t textRight = x + std::int64_t{length} * font::kAdvance;
    const std::int64_t textBottom = y + font::kCellHeight;
    if (bkMode_ == BkMode::kOpaque) {
        const std::uint32_t bk = toPixel(bkColor_);
        const std::int64_t y0 = std::max<std::int64_t>(y, c.top);
        const std::int64_t y1 = std::min<std::int64_t>(textBottom, c.bottom);
        for (std::int64_t row = y0; row < y1; ++row) {
            fillSpan(static_cast<std::int32_t>(row), std::max<std::int64_t>(x, c.left),
                     std::min<std::int64_t>(textRight, c.right), bk);
        }
    }

    // Only the characters whose cells meet the clip rectangle are drawn.
    const std::int64_t firstChar = std::max<std::int64_t>(0, floorDiv(c.left - x, font::kAdvance));
    const std::int64_t endChar =
        std::min<std::int64_t>(length, floorDiv(c.right - x - 1, font::kAdvance) + 1);
    const std::uint32_t ink = toPixel(textColor_);
    for (std::int64_t i = firstChar; i < endChar; ++i) {
        const std::uint8_t* rows = font::glyph(text[i]);
        const std::int64_t cellX = x + i * font::kAdvance;
        for (std::int32_t r = 0; r < font::kCellHeight; ++r) {
            const std::int64_t py = y + r;
            if (py < c.top || py >= c.bottom || rows[r] == 0) continue;
            std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(py) * width_;
            for (std::int32_t col = 0; col < font::kAdvance; ++col) {
                const std::int64_t px = cellX + col;
                if (((rows[r] >> col) & 1u) != 0 && px >= c.left && px < c.right) row[px] = ink;
            }
        }
    }
}

void Surface::drawText(const char* text, std::int32_t length, const Rect& rect, unsigned flags) {
    if (text == nullptr) return;
    // A negative length means a zero-terminated text, as DrawTextA takes it.
    if (length < 0) length = static_cast<std::int32_t>(std::strlen(text));
    std::int64_t x = rect.left;
    std::int64_t y = rect.top;
    if ((flags & kDtCenter) != 0) {
        x += (std::int64_t{rect.right} - rect.left - std::int64_t{length} * font::kAdvance) / 2;
    }
    if ((flags & kDtSingleLine) != 0 && (flags & kDtVCenter) != 0) {
        y += (std::int64_t{rect.bottom} - rect.top - font::kCellHeight) / 2;
    }
    drawGlyphs(x, y, text, length, rect);
}

void Surface::textOut(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) {
    drawGlyphs(x, y, text, length, Rect{0, 0, width_, height_});
}

}  // namespace kolvane::gfx
