// The built-in PNG codec of the builds without libpng: its checksums, its
// stored files read back (by itself and, where the build has it, by libpng),
// files compressed by other encoders decoded exactly as libpng decodes them,
// and broken input refused without harm.
#include "gfx/png_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/golden.h"
#include "gfx/png.h"

namespace kolvane::gfx::codec {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::uint8_t* bytesOf(const char* text) {
    return reinterpret_cast<const std::uint8_t*>(text);
}

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

Bytes encode(const Image& image) {
    return encodePng(image.pixels.data(), image.width, image.height);
}

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PngChecksums, MatchTheirPublishedCheckValues) {
    EXPECT_EQ(crc32(bytesOf("123456789"), 9), 0xCBF43926u);
    EXPECT_EQ(crc32(bytesOf("6789"), 4, crc32(bytesOf("12345"), 5)), 0xCBF43926u);
    EXPECT_EQ(adler32(bytesOf("Wikipedia"), 9), 0x11E60398u);
    EXPECT_EQ(adler32(nullptr, 0), 1u);
}

TEST(PngInflate, ReadsFixedHuffmanBlocksWithBackReferences) {
    const Bytes one{0x78, 0xDA, 0x4B, 0x04, 0x00, 0x00, 0x62, 0x00, 0x62};
    const Bytes repeated{0x78, 0xDA, 0x4B, 0x4C, 0x4A, 0x4E, 0x44,
                         0x45, 0x00, 0x41, 0x7C, 0x06, 0xE5};
    Bytes out;
    std::string error;
    ASSERT_TRUE(inflateZlib(one.data(), one.size(), 1, out, error)) << error;
    EXPECT_EQ(std::string(out.begin(), out.end()), "a");
    ASSERT_TRUE(inflateZlib(repeated.data(), repeated.size(), 18, out, error)) << error;
    EXPECT_EQ(std::string(out.begin(), out.end()), "abcabcabcabcabcabc");
    // More or less data than the image needs is an error, not an overrun.
    EXPECT_FALSE(inflateZlib(repeated.data(), repeated.size(), 17, out, error));
    EXPECT_FALSE(inflateZlib(repeated.data(), repeated.size(), 19, out, error));
}

TEST(PngCodec, RoundTripKeepsEveryPixel) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{37, 23}, std::pair{740, 580}}) {
        const Image written = patternImage(w, h);
        const Bytes file = encode(written);
        Image read;
        std::string error;
        ASSERT_TRUE(decodePng(file.data(), file.size(), read, error)) << error;
        EXPECT_EQ(read.width, w);
        EXPECT_EQ(read.height, h);
        EXPECT_EQ(read.pixels, written.pixels) << w << "x" << h;
    }
}

TEST(PngCodec, StoredFilesAreAsLargeAsTheirPixels) {
    // 740 x 580 frames need 20 stored blocks of at most 65535 bytes.
    const Bytes file = encode(patternImage(740, 580));
    const std::size_t raw = 580 * (1 + 740 * 3);
    const std::size_t blocks = (raw + 65534) / 65535;
    EXPECT_EQ(file.size(), 8 + 25 + (12 + 2 + raw + 5 * blocks + 4) + 12);
}

// Through the file functions of this build: libpng reads the codec's files on
// Linux; the Windows build reads them with the codec itself.
TEST(PngCodec, TheBuildsReaderReadsItsFiles) {
    const std::string dir = kolvane::testing::scratchDirectory("png-codec");
    const Image written = patternImage(53, 17);
    const Bytes file = encode(written);
    std::ofstream(dir + "/stored.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    Image read;
    std::string error;
    ASSERT_TRUE(readPng(dir + "/stored.png", read, error)) << error;
    EXPECT_EQ(read.pixels, written.pixels);
}

// The golden frames were compressed by libpng with all its row filters; the
// codec must decode each exactly as the build's reader does.
TEST(PngCodec, DecodesCompressedGoldenFramesLikeTheBuildsReader) {
    int files = 0;
    for (const char* sub : {"golden", "gfx/golden"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(KOLVANE_TEST_DATA) / sub)) {
            if (entry.path().extension() != ".png") continue;
            const Bytes file = fileBytes(entry.path());
            Image decoded;
            Image reference;
            std::string error;
            ASSERT_TRUE(decodePng(file.data(), file.size(), decoded, error))
                << entry.path() << ": " << error;
            ASSERT_TRUE(readPng(entry.path().string(), reference, error)) << error;
            EXPECT_EQ(decoded.width, reference.width) << entry.path();
            EXPECT_EQ(decoded.height, reference.height) << entry.path();
            EXPECT_TRUE(decoded.pixels == reference.pixels) << entry.path();
            ++files;
        }
    }
    EXPECT_GE(files, 10);
}

TEST(PngCodec, RefusesBrokenFilesWithAReason) {
    const Bytes good = encode(patternImage(5, 4));
    Image image;
    std::string error;

    EXPECT_FALSE(decodePng(good.data(), 7, image, error));
    EXPECT_EQ(error, "not a PNG file");

    Bytes truncated(good.begin(), good.end() - 20);
    EXPECT_FALSE(decodePng(truncated.data(), truncated.size(), image, error));
    EXPECT_EQ(error, "truncated file");

    Bytes badCrc = good;
    badCrc[45] ^= 0x01;  // a pixel byte inside IDAT
    EXPECT_FALSE(decodePng(badCrc.data(), badCrc.size(), image, error));
    EXPECT_EQ(error, "chunk checksum mismatch");

    // 16 bits a sample, with a correct checksum: well formed, but not for us.
    Bytes deep = good;
    deep[24] = 16;
    const std::uint32_t crc = crc32(deep.data() + 12, 17);
    for (int i = 0; i < 4; ++i) deep[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(decodePng(deep.data(), deep.size(), image, error));
    EXPECT_EQ(error, "unsupported pixel format");
}

// Damage inside the compressed data of a libpng file (its checksum made to
// match, so the damage reaches the inflater): every variant either fails with a
// reason or gives a whole image, and nothing reads or writes out of bounds.
TEST(PngCodec, SurvivesDamagedImageData) {
    const Bytes good = fileBytes(fs::path(KOLVANE_TEST_DATA) / "gfx/golden/lines.png");
    ASSERT_GT(good.size(), 33u + 12u);
    const std::size_t idat = 33;  // signature and IHDR come first
    ASSERT_EQ(std::memcmp(good.data() + idat + 4, "IDAT", 4), 0);
    const std::size_t length = (std::size_t{good[idat]} << 24) |
                               (std::size_t{good[idat + 1]} << 16) |
                               (std::size_t{good[idat + 2]} << 8) | good[idat + 3];
    int refused = 0;
    for (std::size_t i = 0; i < length; ++i) {
        for (const std::uint8_t flip : {0x01, 0x10, 0xFF}) {
            Bytes damaged = good;
            damaged[idat + 8 + i] ^= flip;
            const std::uint32_t crc = crc32(damaged.data() + idat + 4, length + 4);
            for (int k = 0; k < 4; ++k) {
                damaged[idat + 8 + length + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
            }
            Image image;
            std::string error;
            if (decodePng(damaged.data(), damaged.size(), image, error)) {
                EXPECT_EQ(image.pixels.size(),
                          static_cast<std::size_t>(image.width) * image.height);
            } else {
                EXPECT_FALSE(error.empty()) << i;
                ++refused;
            }
        }
    }
    // The stream's own checksum catches nearly every change.
    EXPECT_GT(refused, static_cast<int>(length * 3) * 9 / 10);
}

}  // namespace
}  // namespace kolvane::gfx::codec
