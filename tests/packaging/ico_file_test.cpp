// The Windows icon file: a directory that Windows reads to find each picture
// (its side, where it starts, how long it is), then the pictures themselves;
// and only square PNG pictures of up to 256 pixels go in.
#include "ico_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kolvane::icon {
namespace {

// The start of a PNG file of the given size, then some bytes of "data".
std::string pngHeader(std::uint32_t width, std::uint32_t height, const std::string& data) {
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (const std::uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>((v >> shift) & 0xFF);
    }
    png += std::string("\x08\x02\0\0\0", 5);  // 8-bit RGB
    return png + data;
}

std::uint32_t little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

TEST(IcoFile, DirectoryPointsAtEachPictureInOrder) {
    const std::vector<IcoPicture> pictures = {{16, pngHeader(16, 16, "small")},
                                              {256, pngHeader(256, 256, "the largest one")}};
    const std::string ico = icoFile(pictures);
    ASSERT_EQ(ico.size(), 6 + 2 * 16 + pictures[0].png.size() + pictures[1].png.size());
    EXPECT_EQ(little(ico, 0, 2), 0u);  // reserved
    EXPECT_EQ(little(ico, 2, 2), 1u);  // an icon
    EXPECT_EQ(little(ico, 4, 2), 2u);  // two pictures
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t side = pictures[i].side == 256 ? 0 : pictures[i].side;
        EXPECT_EQ(little(ico, entry, 1), side) << i;
        EXPECT_EQ(little(ico, entry + 1, 1), side) << i;
        EXPECT_EQ(little(ico, entry + 4, 2), 1u) << i;   // planes
        EXPECT_EQ(little(ico, entry + 6, 2), 32u) << i;  // bits a pixel
        const std::uint32_t size = little(ico, entry + 8, 4);
        const std::uint32_t offset = little(ico, entry + 12, 4);
        ASSERT_EQ(size, pictures[i].png.size()) << i;
        EXPECT_EQ(ico.substr(offset, size), pictures[i].png) << i;
    }
}

TEST(IcoFile, TakesSquarePngPicturesUpTo256) {
    std::int32_t side = 0;
    std::string error;
    EXPECT_TRUE(icoPictureSide(pngHeader(256, 256, ""), side, error)) << error;
    EXPECT_EQ(side, 256);
    EXPECT_TRUE(icoPictureSide(pngHeader(1, 1, ""), side, error)) << error;
    EXPECT_EQ(side, 1);
    for (const std::string& bad : {pngHeader(257, 257, ""), pngHeader(32, 16, ""),
                                   pngHeader(0, 0, ""), pngHeader(16, 16, "").substr(0, 20),
                                   std::string("GIF89a, not a picture of ours"), std::string()}) {
        error.clear();
        EXPECT_FALSE(icoPictureSide(bad, side, error)) << bad.size();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace kolvane::icon
