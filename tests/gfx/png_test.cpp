// PNG files: a round trip keeps every pixel in an 8-bit RGB file, RGBA files
// are read without their alpha, and every other kind of file, a damaged one or
// a missing one is refused with a message naming it.
#include "gfx/png.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/golden.h"
#include "gfx/png_stb.h"

namespace kolvane::gfx {
namespace {

namespace fs = std::filesystem;
using kolvane::testing::scratchDirectory;
using Bytes = std::string;

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

Bytes bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A file of another pixel format, from stb's writer (1 = grey, 4 = RGBA).
Bytes encodeChannels(int channels, const std::vector<std::uint8_t>& data, int width) {
    Bytes file;
    const auto append = [](void* out, void* bytes, int size) {
        static_cast<Bytes*>(out)->append(static_cast<const char*>(bytes), size);
    };
    stbi_write_png_to_func(append, &file, width, 1, channels, data.data(), width * channels);
    return file;
}

// Refuses the file, naming it, with a reason that contains why.
void expectRefused(const std::string& path, const std::string& why) {
    Image image;
    std::string error;
    EXPECT_FALSE(readPng(path, image, error)) << path;
    EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
    EXPECT_NE(error.find(why), std::string::npos) << error;
}

TEST(PngFile, EveryPixelSurvivesInAn8BitRgbFile) {
    const std::string dir = scratchDirectory("png-round-trip");
    const Image written = patternImage(37, 23);
    std::string error;
    ASSERT_TRUE(writePng(dir + "/pattern.png", written, error)) << error;
    const Bytes file = bytesOf(dir + "/pattern.png");
    ASSERT_GT(file.size(), 26u);
    EXPECT_EQ(file[24], 8);  // bit depth
    EXPECT_EQ(file[25], 2);  // colour type RGB
    Image read;
    ASSERT_TRUE(readPng(dir + "/pattern.png", read, error)) << error;
    EXPECT_EQ(read.width, 37);
    EXPECT_EQ(read.height, 23);
    EXPECT_EQ(read.pixels, written.pixels);
}

TEST(PngFile, SurfaceWritesItsVisiblePixels) {
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

TEST(PngFile, EmptyTooLargeOrInconsistentImagesAreNotWritten) {
    const std::string dir = scratchDirectory("png-empty");
    const std::vector<std::uint32_t> row(kMaxPngSide + 1);
    Image wrong = patternImage(4, 4);
    wrong.pixels.pop_back();
    std::string error;
    EXPECT_FALSE(writePng(dir + "/empty.png", Image{}, error));
    EXPECT_FALSE(writePng(dir + "/wide.png", row.data(), kMaxPngSide + 1, 1, error));
    EXPECT_FALSE(writePng(dir + "/wrong.png", wrong, error));
    EXPECT_NE(error.find("wrong.png"), std::string::npos) << error;
    EXPECT_FALSE(writePng(dir + "/no/such/dir/out.png", patternImage(4, 4), error));
    EXPECT_NE(error.find("out.png\": No such file or directory"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(PngRead, RgbaLosesItsAlphaAndOtherFormatsAreRefused) {
    const std::string dir = scratchDirectory("png-formats");
    writeBytes(dir + "/rgba.png", encodeChannels(4, {10, 20, 30, 255, 40, 50, 60, 0}, 2));
    writeBytes(dir + "/grey.png", encodeChannels(1, {0, 128, 255}, 3));
    const Bytes rgb = encodeChannels(3, {1, 2, 3}, 1);
    Bytes deep = rgb;
    deep[24] = 16;  // 16 bits a sample
    Bytes palette = rgb;
    palette[25] = 3;
    writeBytes(dir + "/deep.png", deep);
    writeBytes(dir + "/palette.png", palette);

    Image rgba;
    std::string error;
    ASSERT_TRUE(readPng(dir + "/rgba.png", rgba, error)) << error;
    EXPECT_EQ(rgba.pixels, (std::vector<std::uint32_t>{0x0A141E, 0x28323C}));
    for (const char* name : {"grey.png", "deep.png", "palette.png"}) {
        expectRefused(dir + "/" + name, "unsupported pixel format");
    }
}

TEST(PngRead, MissingForeignTruncatedAndHugeFilesAreRefused) {
    const std::string dir = scratchDirectory("png-refused");
    std::string error;
    ASSERT_TRUE(writePng(dir + "/good.png", patternImage(40, 30), error)) << error;
    const Bytes good = bytesOf(dir + "/good.png");
    Bytes huge = good;
    huge[16] = 0x7F;  // a width of about two thousand million
    writeBytes(dir + "/huge.png", huge);
    writeBytes(dir + "/text.png", "hello\n");
    writeBytes(dir + "/zero.png", "");
    writeBytes(dir + "/header.png", good.substr(0, 20));
    writeBytes(dir + "/truncated.png", good.substr(0, good.size() / 2));

    expectRefused(dir + "/absent.png", "No such file or directory");
    expectRefused(dir + "/huge.png", "too large");
    expectRefused(dir + "/text.png", "not a PNG file");
    expectRefused(dir + "/zero.png", "not a PNG file");
    expectRefused(dir + "/header.png", "damaged PNG header");
    expectRefused(dir + "/truncated.png", "damaged PNG data");
}

// The decoder never checks the chunks' checksums, so damage inside the image
// data reaches it: every variant gives either a whole image or a reason, and
// nothing reads or writes out of bounds (the sanitizer build watches).
TEST(PngRead, DamagedImageDataGivesAWholeImageOrAReason) {
    const std::string dir = scratchDirectory("png-damaged");
    const Bytes good = bytesOf(std::string(KOLVANE_TEST_DATA) + "/gfx/golden/lines.png");
    ASSERT_GT(good.size(), 45u);
    std::string error;
    for (std::size_t i = 41; i < good.size() - 12; ++i) {  // the image data
        for (const int flip : {0x01, 0x10, 0xFF}) {
            Bytes damaged = good;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            writeBytes(dir + "/damaged.png", damaged);
            Image image;
            if (readPng(dir + "/damaged.png", image, error)) {
                EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) *
                                                   static_cast<std::size_t>(image.height));
            } else {
                EXPECT_NE(error.find("damaged PNG data"), std::string::npos) << error;
            }
        }
    }
}

}  // namespace
}  // namespace kolvane::gfx
