#pragma once
// A small self-contained PNG codec, for builds without libpng (the Windows
// programs). It writes 8-bit RGB files whose image data are stored deflate
// blocks (no compression: frames are small and the code stays short), and reads
// any non-interlaced 8-bit grey, RGB, grey+alpha or RGBA file, compressed or not.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/png.h"

namespace kolvane::gfx::codec {

// The CRC-32 of PNG chunks (and zip): polynomial 0xEDB88320, continued from crc.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
// The Adler-32 checksum that ends a zlib stream.
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);

// The whole file for 0x00RRGGBB pixels, rows top to bottom (width, height > 0).
std::vector<std::uint8_t> encodePng(const std::uint32_t* pixels, std::int32_t width,
                                    std::int32_t height);

// Decodes a file held in memory; alpha is dropped. On failure returns false and
// says why in error.
bool decodePng(const std::uint8_t* data, std::size_t size, Image& image, std::string& error);

// Inflates a zlib stream into out, which must end up exactly expected bytes long.
bool inflateZlib(const std::uint8_t* data, std::size_t size, std::size_t expected,
                 std::vector<std::uint8_t>& out, std::string& error);

}  // namespace kolvane::gfx::codec
