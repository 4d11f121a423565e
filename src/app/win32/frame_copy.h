#pragma once
// The one block copy of the window's picture (the frame scaled) to the window.
#include <windows.h>

#include <cstdint>

namespace kolvane::win32 {

// The frame's layout for GDI: 32 bits a pixel, rows top to bottom. The
// surface's 0x00RRGGBB pixels are the bytes B, G, R, 0 in memory, which is
// exactly a 32-bit BI_RGB device-independent bitmap.
BITMAPINFO frameBitmapInfo(std::int32_t width, std::int32_t height);

// Copies `rows` rows of 0x00RRGGBB pixels, `width` a row, to dc at (0, y), in
// one SetDIBitsToDevice call. Returns the number of rows copied.
int copyPixels(HDC dc, const std::uint32_t* pixels, std::int32_t width, std::int32_t rows,
               std::int32_t y);

}  // namespace kolvane::win32
