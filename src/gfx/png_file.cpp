// PNG files through the built-in codec, for builds without libpng.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "gfx/png.h"
#include "gfx/png_codec.h"
#include "gfx/png_failure.h"

namespace kolvane::gfx {

namespace {

constexpr std::int32_t kMaxSide = 8192;

}  // namespace

bool writePng(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
              std::int32_t height, std::string& error) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        error = describePngFailure("cannot write", path, "the image is empty or too large");
        return false;
    }
    const std::vector<std::uint8_t> bytes = codec::encodePng(pixels, width, height);
    // Written beside the target, then renamed over it, so the file appears
    // whole or not at all.
    const std::string temporary = path + ".part";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = describePngFailure("cannot write", path, std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    if (!written || !closed) {
        error = describePngFailure("cannot write", path,
                                   std::strerror(!written ? writeErrno : closeErrno));
        std::remove(temporary.c_str());
        return false;
    }
    // std::filesystem::rename replaces an existing target on every platform.
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        error = describePngFailure("cannot write", path, ec.message());
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool readPng(const std::string& path, Image& image, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = describePngFailure("cannot read", path, std::strerror(errno));
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.insert(bytes.end(), block, block + n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = describePngFailure("cannot read", path, "read error");
        return false;
    }
    std::string reason;
    if (!codec::decodePng(bytes.data(), bytes.size(), image, reason)) {
        error = describePngFailure("cannot read", path, reason);
        return false;
    }
    return true;
}

}  // namespace kolvane::gfx
