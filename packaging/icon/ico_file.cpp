#include "ico_file.h"

#include <cstring>

namespace kolvane::icon {

namespace {

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;

}  // namespace

bool icoPictureSide(std::string_view png, std::int32_t& side, std::string& error) {
    static constexpr char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    constexpr std::size_t kHeaderEnd = 8 + 8 + 13;  // signature, chunk length and type, IHDR
    if (png.size() < kHeaderEnd || std::memcmp(png.data(), kSignature, sizeof kSignature) != 0 ||
        png.substr(12, 4) != "IHDR") {
        error = "not a PNG file";
        return false;
    }
    const std::uint32_t width = bigEndian32(png, 16);
    const std::uint32_t height = bigEndian32(png, 20);
    if (width != height || width == 0 || width > kMaxIcoSide) {
        error = "an icon picture is square, 1 to 256 pixels a side, not " + std::to_string(width) +
                "x" + std::to_string(height);
        return false;
    }
    side = static_cast<std::int32_t>(width);
    return true;
}

std::string icoFile(const std::vector<IcoPicture>& pictures) {
    std::string out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(pictures.size()));
    std::size_t offset = kDirectorySize + kEntrySize * pictures.size();
    for (const IcoPicture& p : pictures) {
        const auto sideByte = static_cast<char>(p.side == kMaxIcoSide ? 0 : p.side);
        out += sideByte;                                       // width
        out += sideByte;                                       // height
        out += '\0';                                           // no palette
        out += '\0';                                           // reserved
        put16(out, 1);                                         // colour planes
        put16(out, 32);                                        // bits a pixel
        put32(out, static_cast<std::uint32_t>(p.png.size()));  // bytes of the picture
        put32(out, static_cast<std::uint32_t>(offset));        // where it starts
        offset += p.png.size();
    }
    for (const IcoPicture& p : pictures) out += p.png;
    return out;
}

}  // namespace kolvane::icon
