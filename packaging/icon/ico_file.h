#pragma once
// Windows icon files (.ico): a directory of pictures of one icon at several
// sizes. Each picture here is a whole PNG file, which every Windows since
// Vista reads from an icon.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane::icon {

// An icon file names each picture's side in one byte (0 for 256).
inline constexpr std::int32_t kMaxIcoSide = 256;

struct IcoPicture {
    std::int32_t side = 0;  // width and height in pixels
    std::string png;        // the whole PNG file
};

// The side of a square PNG picture an icon can hold, read from its header;
// false with error set for anything else.
bool icoPictureSide(std::string_view png, std::int32_t& side, std::string& error);

// The icon file holding the pictures in the order given.
std::string icoFile(const std::vector<IcoPicture>& pictures);

}  // namespace kolvane::icon
