// PNG files through stb_image_write and stb_image, on every platform.
#include "gfx/png.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "gfx/png_failure.h"
#include "gfx/png_stb.h"

namespace kolvane::gfx {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every 8-bit RGBA image of the size limit fits, whatever its compression.
constexpr std::size_t kMaxFileBytes =
    std::size_t{2} * kMaxPngSide * (1 + std::size_t{kMaxPngSide} * 4) + (std::size_t{1} << 20);
static_assert(kMaxFileBytes <= INT_MAX, "stb_image takes the file's size as an int");

void appendTo(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// Reads the whole file, or says why not.
bool readFile(const std::string& path, Bytes& bytes, std::string& reason) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    std::uint8_t block[1 << 16];
    bool tooLarge = false;
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) {
        if (bytes.size() + n > kMaxFileBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), block, block + n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || tooLarge) reason = failed ? "read error" : "the file is too large";
    return !failed && !tooLarge;
}

// Checks the signature and the header chunk that opens every PNG: stb_image
// would read any kind, the program's files are 8-bit RGB or RGBA within the
// size limit.
bool checkHeader(const Bytes& bytes, std::string& reason) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr std::size_t kHeaderEnd = 8 + 8 + 13;  // signature, chunk length and type, IHDR
    if (bytes.size() < sizeof kSignature ||
        std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
        reason = "not a PNG file";
        return false;
    }
    if (bytes.size() < kHeaderEnd || bigEndian32(&bytes[8]) != 13 ||
        std::memcmp(&bytes[12], "IHDR", 4) != 0) {
        reason = "truncated or damaged PNG header";
        return false;
    }
    const std::uint32_t width = bigEndian32(&bytes[16]);
    const std::uint32_t height = bigEndian32(&bytes[20]);
    const int depth = bytes[24];
    const int colorType = bytes[25];
    constexpr int kRgb = 2;
    constexpr int kRgba = 6;
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) {
        reason = "the image is empty or too large (" + std::to_string(width) + "x" +
                 std::to_string(height) + " pixels)";
        return false;
    }
    if (depth != 8 || (colorType != kRgb && colorType != kRgba)) {
        reason = "unsupported pixel format (bit depth " + std::to_string(depth) + ", colour type " +
                 std::to_string(colorType) + "; only 8-bit RGB and RGBA)";
        return false;
    }
    return true;
}

}  // namespace

bool writePng(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
              std::int32_t height, std::string& error) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxPngSide ||
        height > kMaxPngSide) {
        error = describePngFailure("cannot write", path, "the image is empty or too large");
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> rgb(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    std::string file;
    if (stbi_write_png_to_func(appendTo, &file, width, height, 3, rgb.data(), width * 3) == 0) {
        error = describePngFailure("cannot write", path, "out of memory");
        return false;
    }
    if (!writeFileAtomically(path, file, error)) {
        error = "cannot write " + error;
        return false;
    }
    return true;
}

bool readPng(const std::string& path, Image& image, std::string& error) {
    Bytes bytes;
    std::string reason;
    if (!readFile(path, bytes, reason) || !checkHeader(bytes, reason)) {
        error = describePngFailure("cannot read", path, reason);
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                         &height, &channels, 3);
    if (rgb == nullptr) {
        const char* why = stbi_failure_reason();
        error = describePngFailure("cannot read", path,
                                   std::string("damaged PNG data (") + (why ? why : "?") + ")");
        return false;
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = (std::uint32_t{rgb[3 * i]} << 16) | (std::uint32_t{rgb[3 * i + 1]} << 8) |
                          rgb[3 * i + 2];
    }
    stbi_image_free(rgb);
    return true;
}

}  // namespace kolvane::gfx
