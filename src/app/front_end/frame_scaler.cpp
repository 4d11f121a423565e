#include "app/front_end/frame_scaler.h"

#include <algorithm>
#include <cstring>

namespace kolvane {

namespace {

constexpr std::uint32_t kWhole = 256;

// p's share w of 256 and q's the rest, each channel rounded; w = 256 gives p.
inline std::uint32_t mix(std::uint32_t p, std::uint32_t q, std::uint32_t w) {
    const std::uint32_t v = kWhole - w;
    const std::uint32_t rb =
        (((p & 0xFF00FFu) * w + (q & 0xFF00FFu) * v + 0x800080u) >> 8) & 0xFF00FFu;
    const std::uint32_t g =
        (((p & 0x00FF00u) * w + (q & 0x00FF00u) * v + 0x008000u) >> 8) & 0x00FF00u;
    return rb | g;
}

// Two rows mixed with one weight, byte by byte (the same sums as mix()), in a
// loop the compiler turns into vector instructions.
void mixRows(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t* out,
             std::size_t count, std::uint32_t w) {
    const auto* a = reinterpret_cast<const std::uint8_t*>(upper);
    const auto* b = reinterpret_cast<const std::uint8_t*>(lower);
    auto* o = reinterpret_cast<std::uint8_t*>(out);
    const auto wa = static_cast<std::uint16_t>(w);
    const auto wb = static_cast<std::uint16_t>(kWhole - w);
    for (std::size_t i = 0; i < count * 4; ++i) {
        o[i] = static_cast<std::uint8_t>((a[i] * wa + b[i] * wb + 128u) >> 8);
    }
}

template <int kFactor>
void repeatPixels(const std::uint32_t* in, std::int32_t count, std::uint32_t* out) {
    for (std::int32_t x = 0; x < count; ++x) {
        for (int r = 0; r < kFactor; ++r) out[x * kFactor + r] = in[x];
    }
}

std::uint32_t* rowOf(const PixelTarget& target, std::int32_t y) {
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(target.pixels) +
                                            target.pitchBytes * y);
}

void fillBlack(std::uint32_t* out, std::int32_t count) {
    if (count > 0) std::memset(out, 0, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
}

}  // namespace

void FrameScaler::prepareAxis(Axis& axis, std::int32_t frameLength, std::int32_t scaledLength,
                              std::int32_t offset, std::int32_t windowLength) {
    // Window pixels offset + i for i in [begin, end) show the scaled frame.
    const std::int32_t begin = std::max(0, -offset);
    const std::int32_t end = std::min(scaledLength, windowLength - offset);
    axis.first = offset + begin;
    axis.repeat = scaledLength % frameLength == 0 ? scaledLength / frameLength : 0;
    axis.taps.resize(static_cast<std::size_t>(std::max(0, end - begin)));
    const std::int64_t n = frameLength;
    const std::int64_t m = scaledLength;  // never below n
    for (std::int32_t i = begin; i < end; ++i) {
        // Window pixel i spans [i n / m, (i + 1) n / m) of the frame: one
        // pixel wide at most, so within one frame pixel or across a border.
        const std::int64_t a = i * n / m;
        Tap tap;
        tap.source = static_cast<std::int32_t>(a);
        tap.next = static_cast<std::int32_t>(std::min(a + 1, n - 1));
        if ((i + 1) * n > (a + 1) * m) {
            tap.weight = static_cast<std::uint32_t>((((a + 1) * m - i * n) * kWhole + n / 2) / n);
        }
        axis.taps[static_cast<std::size_t>(i - begin)] = tap;
    }
}

void FrameScaler::prepare(const gfx::Surface& frame, const PixelTarget& target, ScaleMode mode) {
    const bool same = frame.width() == frameWidth_ && frame.height() == frameHeight_ &&
                      target.pixels == target_.pixels && target.width == target_.width &&
                      target.height == target_.height && target.pitchBytes == target_.pitchBytes &&
                      mode == mode_;
    if (same) return;
    frameWidth_ = frame.width();
    frameHeight_ = frame.height();
    target_ = target;
    mode_ = mode;
    bordersDrawn_ = false;
    layout_ = scaleLayout(frameWidth_, frameHeight_, target.width, target.height, mode);
    prepareAxis(columns_, frameWidth_, layout_.width, layout_.x, target.width);
    prepareAxis(rows_, frameHeight_, layout_.height, layout_.y, target.height);
    gather_.clear();
    blends_.clear();
    for (std::size_t i = 0; i < columns_.taps.size(); ++i) {
        const Tap& t = columns_.taps[i];
        gather_.push_back(t.source);
        if (t.weight != kWhole)
            blends_.push_back({static_cast<std::int32_t>(i), t.source, t.weight});
    }
    for (std::vector<std::uint32_t>& row : scaled_) row.resize(columns_.taps.size());
    shown_.resize(static_cast<std::size_t>(frameWidth_) * frameHeight_);
    changed_.resize(static_cast<std::size_t>(frameHeight_));
}

void FrameScaler::findChangedRows(const gfx::Surface& frame) {
    const std::size_t width = static_cast<std::size_t>(frameWidth_);
    const std::size_t bytes = width * sizeof(std::uint32_t);
    for (std::int32_t y = 0; y < frameHeight_; ++y) {
        const std::uint32_t* row = frame.pixels() + y * width;
        std::uint32_t* kept = shown_.data() + y * width;
        // After new borders every row is drawn.
        const bool changed = !bordersDrawn_ || std::memcmp(row, kept, bytes) != 0;
        if (changed) std::memcpy(kept, row, bytes);
        changed_[static_cast<std::size_t>(y)] = changed ? 1 : 0;
    }
}

void FrameScaler::addBand(std::int32_t row) {
    if (bandCount_ > 0) {
        RowBand& last = bands_[static_cast<std::size_t>(bandCount_ - 1)];
        if (row < last.bottom) return;  // already listed
        if (last.bottom == row || bandCount_ == kMaxBands) {
            last.bottom = row + 1;
            return;
        }
    }
    bands_[static_cast<std::size_t>(bandCount_++)] = {row, row + 1};
}

void FrameScaler::scaleRow(const std::uint32_t* in, std::uint32_t* out) const {
    const std::size_t count = columns_.taps.size();
    if (count == 0) return;
    switch (columns_.repeat) {
        case 0:
            break;
        case 1:
            std::memcpy(out, in + gather_[0], count * sizeof(std::uint32_t));
            return;
        // A whole factor of 2 or more is never cut at the edges: every frame
        // pixel, k times.
        case 2:
            repeatPixels<2>(in, frameWidth_, out);
            return;
        case 3:
            repeatPixels<3>(in, frameWidth_, out);
            return;
        case 4:
            repeatPixels<4>(in, frameWidth_, out);
            return;
        default:
            for (std::int32_t x = 0; x < frameWidth_; ++x) {
                std::fill_n(out + static_cast<std::ptrdiff_t>(x) * columns_.repeat, columns_.repeat,
                            in[x]);
            }
            return;
    }
    // Whole pixels first, then the columns across two frame pixels mixed.
    const std::int32_t* gather = gather_.data();
    for (std::size_t i = 0; i < count; ++i) out[i] = in[gather[i]];
    const std::int32_t last = frameWidth_ - 1;
    for (const Blend& b : blends_) {
        out[b.column] = mix(in[b.source], in[std::min(b.source + 1, last)], b.weight);
    }
}

void FrameScaler::fillBorders(const PixelTarget& target) const {
    const std::int32_t top = rows_.first;
    const std::int32_t bottom = top + static_cast<std::int32_t>(rows_.taps.size());
    const std::int32_t left = columns_.first;
    const std::int32_t right = left + static_cast<std::int32_t>(columns_.taps.size());
    for (std::int32_t y = 0; y < target.height; ++y) {
        std::uint32_t* row = rowOf(target, y);
        if (y < top || y >= bottom) {
            fillBlack(row, target.width);
        } else {
            fillBlack(row, left);
            fillBlack(row + right, target.width - right);
        }
    }
}

void FrameScaler::drawWholeRows(const gfx::Surface& frame, const PixelTarget& target) {
    const std::size_t bytes = columns_.taps.size() * sizeof(std::uint32_t);
    // The first window row of each frame row is scaled, the others copy it.
    const std::uint32_t* first = nullptr;
    std::int32_t firstSource = -1;
    std::int32_t y = rows_.first;
    for (const Tap& tap : rows_.taps) {
        const std::int32_t row = y++;
        if (changed_[static_cast<std::size_t>(tap.source)] == 0) continue;
        addBand(row);
        std::uint32_t* out = rowOf(target, row) + columns_.first;
        if (tap.source == firstSource) {
            std::memcpy(out, first, bytes);
        } else {
            scaleRow(frame.pixels() + static_cast<std::size_t>(tap.source) * frameWidth_, out);
            first = out;
            firstSource = tap.source;
        }
    }
}

const std::uint32_t* FrameScaler::scaledRow(const gfx::Surface& frame, std::int32_t source) {
    if (scaledSource_[0] == source) return scaled_[0].data();
    if (scaledSource_[1] == source) return scaled_[1].data();
    // Rows come in order: the older of the two is replaced.
    const std::size_t slot = scaledSource_[0] < scaledSource_[1] ? 0 : 1;
    scaleRow(frame.pixels() + static_cast<std::size_t>(source) * frameWidth_, scaled_[slot].data());
    scaledSource_[slot] = source;
    return scaled_[slot].data();
}

void FrameScaler::drawMixedRows(const gfx::Surface& frame, const PixelTarget& target) {
    scaledSource_ = {-1, -1};
    const std::size_t count = columns_.taps.size();
    std::int32_t y = rows_.first;
    for (const Tap& tap : rows_.taps) {
        const std::int32_t row = y++;
        const bool whole = tap.weight == kWhole;
        if (changed_[static_cast<std::size_t>(tap.source)] == 0 &&
            (whole || changed_[static_cast<std::size_t>(tap.next)] == 0)) {
            continue;
        }
        addBand(row);
        std::uint32_t* out = rowOf(target, row) + columns_.first;
        const std::uint32_t* upper = scaledRow(frame, tap.source);
        if (whole) {
            std::memcpy(out, upper, count * sizeof(std::uint32_t));
        } else {
            mixRows(upper, scaledRow(frame, tap.next), out, count, tap.weight);
        }
    }
}

void FrameScaler::draw(const gfx::Surface& frame, const PixelTarget& target, ScaleMode mode) {
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0) return;
    if (frame.width() <= 0 || frame.height() <= 0) return;
    prepare(frame, target, mode);
    findChangedRows(frame);
    bandCount_ = 0;
    if (!bordersDrawn_) {
        fillBorders(target);
        bordersDrawn_ = true;
        // The whole window changed; the frame's rows add nothing to that.
        bands_[0] = {0, target.height};
        bandCount_ = 1;
    }
    if (rows_.repeat != 0) {
        drawWholeRows(frame, target);
    } else {
        drawMixedRows(frame, target);
    }
}

}  // namespace kolvane
