#include "gfx/png.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/png_failure.h"

namespace kolvane::gfx {

// libpng reports errors by longjmp. Every function below that calls setjmp
// holds only plain C values, so the jump skips no destructor; the buffers it
// fills are made by its caller before and freed after.

namespace {

// Large enough for any frame; guards the allocation against a corrupt header.
constexpr png_uint_32 kMaxSide = 8192;

struct PngError {
    char message[256] = "unknown libpng error";
};

void onPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Writes the whole image to an open file. rgb holds width * 3 bytes, the row
// being converted. Returns false with the libpng message in error.
bool encode(FILE* file, const std::uint32_t* pixels, png_uint_32 width, png_uint_32 height,
            png_bytep rgb, PngError* error) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, error, onPngError, onPngWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // NOLINTNEXTLINE(cert-err52-cpp): libpng can only report errors by longjmp.
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x) {
            rgb[3 * x] = static_cast<png_byte>((row[x] >> 16) & 0xFF);
            rgb[3 * x + 1] = static_cast<png_byte>((row[x] >> 8) & 0xFF);
            rgb[3 * x + 2] = static_cast<png_byte>(row[x] & 0xFF);
        }
        png_write_row(png, rgb);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Reads the header of an open PNG and sets up conversion to 8-bit RGB.
bool readHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height,
                PngError* error) {
    // NOLINTNEXTLINE(cert-err52-cpp): libpng can only report errors by longjmp.
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_read_info(png, info);
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, width, height, &depth, &colorType, nullptr, nullptr, nullptr);
    if (depth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(*width) * 3) {
        std::snprintf(error->message, sizeof error->message, "unsupported pixel format");
        return false;
    }
    return true;
}

// Reads every row into rows (height pointers into a width * 3 * height buffer).
bool readRows(png_structp png, png_infop info, png_bytepp rows) {
    // NOLINTNEXTLINE(cert-err52-cpp): libpng can only report errors by longjmp.
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

}  // namespace

bool writePng(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
              std::int32_t height, std::string& error) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > static_cast<int>(kMaxSide) ||
        height > static_cast<int>(kMaxSide)) {
        error = describePngFailure("cannot write", path, "the image is empty or too large");
        return false;
    }
    // The temporary sits in the target's directory so the rename is atomic.
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = describePngFailure("cannot write", path, std::strerror(errno));
        return false;
    }
    FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        error = describePngFailure("cannot write", path, std::strerror(errno));
        close(fd);
        std::remove(temporary.c_str());
        return false;
    }

    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * 3);
    PngError pngError;
    const bool encoded = encode(file, pixels, static_cast<png_uint_32>(width),
                                static_cast<png_uint_32>(height), rgb.data(), &pngError);
    const int writeErrno = std::ferror(file) != 0 ? errno : 0;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    if (!encoded || !closed) {
        const char* reason = !encoded
                                 ? (writeErrno != 0 ? std::strerror(writeErrno) : pngError.message)
                                 : std::strerror(closeErrno);
        error = describePngFailure("cannot write", path, reason);
        std::remove(temporary.c_str());
        return false;
    }
    // mkstemp makes the file private to its owner; frames are ordinary files.
    chmod(temporary.c_str(), 0644);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = describePngFailure("cannot write", path, std::strerror(errno));
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
    png_byte signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        std::fclose(file);
        error = describePngFailure("cannot read", path, "not a PNG file");
        return false;
    }

    PngError pngError;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &pngError, onPngError, onPngWarning);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::fclose(file);
        error = describePngFailure("cannot read", path, "out of memory");
        return false;
    }
    png_init_io(png, file);
    png_set_sig_bytes(png, sizeof signature);
    png_set_user_limits(png, kMaxSide, kMaxSide);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool ok = readHeader(png, info, &width, &height, &pngError);
    std::vector<png_byte> data;
    std::vector<png_bytep> rows;
    if (ok) {
        data.resize(static_cast<std::size_t>(width) * 3 * height);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y) {
            rows[y] = data.data() + static_cast<std::size_t>(y) * width * 3;
        }
        ok = readRows(png, info, rows.data());
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    if (!ok) {
        error = describePngFailure("cannot read", path, pngError.message);
        return false;
    }

    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = (std::uint32_t{data[3 * i]} << 16) |
                          (std::uint32_t{data[3 * i + 1]} << 8) | data[3 * i + 2];
    }
    return true;
}

}  // namespace kolvane::gfx
