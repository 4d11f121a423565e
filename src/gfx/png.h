#pragma once
// PNG files of frames: the runner's screenshots and the tests' golden frames.
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace kolvane::gfx {

// The largest width and height read or written: far more than any frame, and
// a guard against the allocation a corrupt header would ask for.
inline constexpr std::int32_t kMaxPngSide = 8192;

// An RGB image as read from a file; pixels as 0x00RRGGBB, rows top to bottom.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

// Writes the pixels as an 8-bit RGB PNG. The file appears whole or not at all
// (written beside it, then renamed). On failure returns false and says why.
bool writePng(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
              std::int32_t height, std::string& error);
bool writePng(const std::string& path, const Surface& surface, std::string& error);
bool writePng(const std::string& path, const Image& image, std::string& error);

// Reads an 8-bit RGB or RGBA PNG (alpha dropped); refuses any other kind of
// file, saying why.
bool readPng(const std::string& path, Image& image, std::string& error);

}  // namespace kolvane::gfx
