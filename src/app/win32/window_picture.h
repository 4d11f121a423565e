#pragma once
// The window's picture: the finished frame scaled to the client area by the
// shared FrameScaler into pixels of our own, kept until the next frame, so
// that a paint only copies them. Drawing a frame marks the client rows it
// changed as invalid; the pixels are made again only when the client area
// changes size.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/front_end/frame_scaler.h"
#include "app/settings/settings.h"
#include "gfx/surface.h"

namespace kolvane::win32 {

class WindowPicture {
public:
    // The client area's size in pixels; the last frame is drawn again at it.
    void resize(HWND window, std::int32_t width, std::int32_t height);
    // Scales the frame into the picture and invalidates the rows that changed.
    void draw(HWND window, const gfx::Surface& frame);
    // Copies the rows of the paint's rectangle to its device context.
    void present(HDC dc, const RECT& area) const;

    void setMode(ScaleMode mode) { mode_ = mode; }
    ScaleMode mode() const { return mode_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    FrameScaler scaler_;
    std::vector<std::uint32_t> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    ScaleMode mode_ = ScaleMode::kSharp;
    const gfx::Surface* last_ = nullptr;
};

}  // namespace kolvane::win32
