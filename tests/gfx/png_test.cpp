// PNG files: a round trip keeps every pixel, a file appears whole or not at
// all, and broken input is refused with a message naming the file.
#include "gfx/png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/golden.h"

namespace kolvane::gfx {
namespace {

namespace fs = std::filesystem;
using kolvane::testing::scratchDirectory;

Image patternImage(std::int32_t w, std::int32_t h) {
    Image image{w, h, {}};
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            image.pixels.push_back(static_cast<std::uint32_t>((x * 37) & 0xFF) << 16 |
                                   static_cast<std::uint32_t>((y * 91) & 0xFF) << 8 |
                                   static_cast<std::uint32_t>((x * y + 5) & 0xFF));
        }
    }
    return image;
}

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes a PNG of another pixel format with libpng's own simple interface.
bool writeFormat(const std::string& path, png_uint_32 format, const std::vector<png_byte>& data,
                 png_uint_32 width, png_uint_32 height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    return png_image_write_to_file(&image, path.c_str(), 0, data.data(), 0, nullptr) != 0;
}

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(PngRoundTrip, EveryPixelSurvives) {
    const std::string dir = scratchDirectory("png-round-trip");
    const Image written = patternImage(37, 23);
    std::string error;
    ASSERT_TRUE(writePng(dir + "/pattern.png", written, error)) << error;
    Image read;
    ASSERT_TRUE(readPng(dir + "/pattern.png", read, error)) << error;
    EXPECT_EQ(read.width, 37);
    EXPECT_EQ(read.height, 23);
    EXPECT_EQ(read.pixels, written.pixels);
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"pattern.png"});  // no temporary left
}

TEST(PngRoundTrip, SurfaceWritesItsVisiblePixels) {
    const std::string dir = scratchDirectory("png-surface");
    Surface s(16, 16);
    s.newFrame(5, 4);  // smaller than the buffer it keeps
    s.setPixel(4, 3, Color(255, 0, 0));
    std::string error;
    ASSERT_TRUE(writePng(dir + "/frame.png", s, error)) << error;
    Image read;
    ASSERT_TRUE(readPng(dir + "/frame.png", read, error)) << error;
    ASSERT_EQ(read.width, 5);
    ASSERT_EQ(read.height, 4);
    EXPECT_EQ(read.pixels[19], 0xFF0000u);  // red, as 0x00RRGGBB
    EXPECT_EQ(read.pixels[18], 0u);
}

TEST(PngRead, GreyAndRgbaFilesBecomeRgb) {
    const std::string dir = scratchDirectory("png-formats");
    ASSERT_TRUE(writeFormat(dir + "/grey.png", PNG_FORMAT_GRAY, {0, 128, 255}, 3, 1));
    ASSERT_TRUE(
        writeFormat(dir + "/rgba.png", PNG_FORMAT_RGBA, {10, 20, 30, 255, 40, 50, 60, 0}, 2, 1));
    Image grey;
    Image rgba;
    std::string error;
    ASSERT_TRUE(readPng(dir + "/grey.png", grey, error)) << error;
    ASSERT_TRUE(readPng(dir + "/rgba.png", rgba, error)) << error;
    EXPECT_EQ(grey.pixels, (std::vector<std::uint32_t>{0x000000, 0x808080, 0xFFFFFF}));
    EXPECT_EQ(rgba.pixels, (std::vector<std::uint32_t>{0x0A141E, 0x28323C}));  // alpha dropped
}

TEST(PngWrite, MissingDirectoryFailsWithAMessageAndNoFile) {
    const std::string dir = scratchDirectory("png-missing-dir");
    const std::string path = dir + "/no/such/dir/out.png";
    std::string error;
    EXPECT_FALSE(writePng(path, patternImage(4, 4), error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_TRUE(filesIn(dir).empty());
}

TEST(PngWrite, FailedRenameRemovesTheTemporary) {
    // The target is a directory: the temporary is written beside it, then
    // the rename fails and the temporary must go.
    const std::string dir = scratchDirectory("png-rename");
    fs::create_directory(dir + "/target.png");
    std::string error;
    EXPECT_FALSE(writePng(dir + "/target.png", patternImage(4, 4), error));
    EXPECT_NE(error.find("target.png"), std::string::npos) << error;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"target.png"});
}

TEST(PngWrite, EmptyOrInconsistentImagesAreRefused) {
    const std::string dir = scratchDirectory("png-empty");
    std::string error;
    EXPECT_FALSE(writePng(dir + "/empty.png", Image{}, error));
    EXPECT_FALSE(error.empty());
    Image wrong = patternImage(4, 4);
    wrong.pixels.pop_back();
    error.clear();
    EXPECT_FALSE(writePng(dir + "/wrong.png", wrong, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(filesIn(dir).empty());
}

TEST(PngRead, MissingFileIsReported) {
    const std::string dir = scratchDirectory("png-missing");
    Image image;
    std::string error;
    EXPECT_FALSE(readPng(dir + "/absent.png", image, error));
    EXPECT_NE(error.find("absent.png"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

TEST(PngRead, CorruptTruncatedAndForeignFilesAreRefused) {
    const std::string dir = scratchDirectory("png-corrupt");
    std::string error;
    ASSERT_TRUE(writePng(dir + "/good.png", patternImage(40, 30), error)) << error;
    const std::vector<char> good = bytesOf(dir + "/good.png");
    ASSERT_GT(good.size(), 100u);

    std::vector<char> flipped = good;
    for (std::size_t i = 60; i < 80; ++i) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    writeBytes(dir + "/flipped.png", flipped);
    writeBytes(dir + "/truncated.png", std::vector<char>(good.begin(), good.begin() + 70));
    writeBytes(dir + "/text.png", std::vector<char>{'h', 'e', 'l', 'l', 'o', '\n'});
    writeBytes(dir + "/zero.png", {});

    for (const char* name : {"flipped.png", "truncated.png", "text.png", "zero.png"}) {
        Image image;
        error.clear();
        EXPECT_FALSE(readPng(dir + "/" + name, image, error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace kolvane::gfx
