#pragma once
// Scales the finished frame into a window's pixels, as the scale layout
// places it: every frame pixel covers whole window pixels, and a window pixel
// that straddles two frame pixels takes each by its share of the area (sharp
// mode's smoothing of what is left over after the whole factor). At a whole
// factor that is plain pixel repetition, never a blend. The frame is only
// read. Only the rows of the window whose frame rows changed since the last
// draw are written (most of a frame is still black space), and they are
// listed for the window system. The tables, row buffers and the copy of the
// last frame are made when a size or the mode changes and kept, so drawing a
// frame allocates nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/front_end/scale_layout.h"
#include "app/settings/settings.h"
#include "gfx/surface.h"

namespace kolvane {

// Window pixels as the frame has them: 0x00RRGGBB, rows `pitchBytes` apart.
struct PixelTarget {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t pitchBytes = 0;
};

// Window rows [top, bottom) that a draw changed.
struct RowBand {
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const RowBand&, const RowBand&) = default;
};

class FrameScaler {
public:
    // The most bands a draw lists; more are merged into the last.
    static constexpr int kMaxBands = 16;

    // Draws the frame into the target. Around the frame the target is filled
    // black when the target, its size or the mode changed since the last
    // draw, or after forget(); otherwise only the frame's pixels are written.
    void draw(const gfx::Surface& frame, const PixelTarget& target, ScaleMode mode);
    // The target's pixels were lost (a new window surface at the same place):
    // the next draw fills the borders again and writes every row.
    void forget() { bordersDrawn_ = false; }

    const ScaleLayout& layout() const { return layout_; }
    // The rows the last draw wrote, top to bottom (none when the frame was
    // the same as before).
    int bandCount() const { return bandCount_; }
    const RowBand& band(int i) const { return bands_[static_cast<std::size_t>(i)]; }

private:
    // One window pixel along an axis: the frame pixel it starts in, and that
    // pixel's share of it out of 256; the rest comes from `next`.
    struct Tap {
        std::int32_t source = 0;
        std::int32_t next = 0;
        std::uint32_t weight = 256;
    };
    // A window column across two frame columns.
    struct Blend {
        std::int32_t column = 0;
        std::int32_t source = 0;
        std::uint32_t weight = 0;
    };
    struct Axis {
        std::vector<Tap> taps;    // the visible window pixels, in order
        std::int32_t first = 0;   // the first visible window pixel, from the window's edge
        std::int32_t repeat = 0;  // the whole factor when the scaled length is one, else 0
    };

    void prepare(const gfx::Surface& frame, const PixelTarget& target, ScaleMode mode);
    static void prepareAxis(Axis& axis, std::int32_t frameLength, std::int32_t scaledLength,
                            std::int32_t offset, std::int32_t windowLength);
    void scaleRow(const std::uint32_t* in, std::uint32_t* out) const;
    void fillBorders(const PixelTarget& target) const;
    // Every window row one frame row, k times.
    void drawWholeRows(const gfx::Surface& frame, const PixelTarget& target);
    // Window rows across two frame rows mixed from both, each frame row scaled once.
    void drawMixedRows(const gfx::Surface& frame, const PixelTarget& target);
    const std::uint32_t* scaledRow(const gfx::Surface& frame, std::int32_t source);
    // Marks the frame rows that differ from the last frame drawn, and keeps them.
    void findChangedRows(const gfx::Surface& frame);
    void addBand(std::int32_t row);

    ScaleLayout layout_;
    Axis columns_;
    Axis rows_;
    std::vector<std::int32_t> gather_;  // the frame column of each visible window column
    std::vector<Blend> blends_;         // the window columns across two frame columns
    // The last two frame rows scaled, and which they are.
    std::array<std::vector<std::uint32_t>, 2> scaled_;
    std::array<std::int32_t, 2> scaledSource_{-1, -1};
    std::vector<std::uint32_t> shown_;   // the frame as last drawn
    std::vector<std::uint8_t> changed_;  // each frame row: changed since
    std::array<RowBand, kMaxBands> bands_{};
    int bandCount_ = 0;
    // What the tables were made for.
    std::int32_t frameWidth_ = -1;
    std::int32_t frameHeight_ = -1;
    PixelTarget target_;
    ScaleMode mode_ = ScaleMode::kSharp;
    bool bordersDrawn_ = false;
};

}  // namespace kolvane
