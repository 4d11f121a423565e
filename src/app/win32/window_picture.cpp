#include "app/win32/window_picture.h"

#include <algorithm>

#include "app/win32/frame_copy.h"

namespace kolvane::win32 {

void WindowPicture::resize(HWND window, std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    scaler_.forget();
    if (last_ != nullptr) draw(window, *last_);
    InvalidateRect(window, nullptr, FALSE);
}

void WindowPicture::draw(HWND window, const gfx::Surface& frame) {
    last_ = &frame;
    if (width_ == 0 || height_ == 0) return;
    const PixelTarget target{pixels_.data(), width_, height_,
                             static_cast<std::ptrdiff_t>(width_) * 4};
    scaler_.draw(frame, target, mode_);
    for (int i = 0; i < scaler_.bandCount(); ++i) {
        const RowBand& band = scaler_.band(i);
        const RECT rows{0, band.top, width_, band.bottom};
        InvalidateRect(window, &rows, FALSE);
    }
}

void WindowPicture::present(HDC dc, const RECT& area) const {
    const std::int32_t top = std::clamp(static_cast<std::int32_t>(area.top), 0, height_);
    const std::int32_t bottom = std::clamp(static_cast<std::int32_t>(area.bottom), top, height_);
    if (bottom == top || width_ == 0) return;
    copyPixels(dc,
               pixels_.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(width_),
               width_, bottom - top, top);
}

}  // namespace kolvane::win32
