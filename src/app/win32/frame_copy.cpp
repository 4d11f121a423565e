#include "app/win32/frame_copy.h"

namespace kolvane::win32 {

BITMAPINFO frameBitmapInfo(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

int copyPixels(HDC dc, const std::uint32_t* pixels, std::int32_t width, std::int32_t rows,
               std::int32_t y) {
    if (width <= 0 || rows <= 0) return 0;
    // The rows alone are described as a bitmap, so the copy starts at its origin.
    const BITMAPINFO info = frameBitmapInfo(width, rows);
    return SetDIBitsToDevice(dc, 0, y, static_cast<DWORD>(width), static_cast<DWORD>(rows), 0, 0, 0,
                             static_cast<UINT>(rows), pixels, &info, DIB_RGB_COLORS);
}

}  // namespace kolvane::win32
