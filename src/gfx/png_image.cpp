// The Surface and Image forms of writePng.
#include <cstddef>

#include "gfx/png.h"
#include "gfx/png_failure.h"

namespace kolvane::gfx {

bool writePng(const std::string& path, const Surface& surface, std::string& error) {
    return writePng(path, surface.pixels(), surface.width(), surface.height(), error);
}

bool writePng(const std::string& path, const Image& image, std::string& error) {
    if (image.width < 0 || image.height < 0 ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        error = describePngFailure("cannot write", path,
                                   "the image's pixel count doesn't match its size");
        return false;
    }
    return writePng(path, image.pixels.data(), image.width, image.height, error);
}

}  // namespace kolvane::gfx
