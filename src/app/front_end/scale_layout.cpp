#include "app/front_end/scale_layout.h"

#include <algorithm>

namespace kolvane {

std::int32_t largestWholeScale(std::int32_t frameWidth, std::int32_t frameHeight,
                               std::int32_t areaWidth, std::int32_t areaHeight) {
    if (frameWidth <= 0 || frameHeight <= 0) return 1;
    return std::max(1, std::min(areaWidth / frameWidth, areaHeight / frameHeight));
}

ScaleLayout scaleLayout(std::int32_t frameWidth, std::int32_t frameHeight, std::int32_t windowWidth,
                        std::int32_t windowHeight, ScaleMode mode) {
    ScaleLayout layout;
    if (frameWidth <= 0 || frameHeight <= 0) return layout;
    layout.factor = largestWholeScale(frameWidth, frameHeight, windowWidth, windowHeight);
    const bool fitsOnce = windowWidth >= frameWidth && windowHeight >= frameHeight;
    if (mode == ScaleMode::kWhole || !fitsOnce) {
        layout.width = frameWidth * layout.factor;
        layout.height = frameHeight * layout.factor;
    } else if (std::int64_t{windowWidth} * frameHeight <= std::int64_t{windowHeight} * frameWidth) {
        // The width limits: it is filled, the height follows, rounded.
        layout.width = windowWidth;
        layout.height = static_cast<std::int32_t>(
            (std::int64_t{windowWidth} * frameHeight + frameWidth / 2) / frameWidth);
    } else {
        layout.height = windowHeight;
        layout.width = static_cast<std::int32_t>(
            (std::int64_t{windowHeight} * frameWidth + frameHeight / 2) / frameHeight);
    }
    layout.x = (windowWidth - layout.width) / 2;
    layout.y = (windowHeight - layout.height) / 2;
    return layout;
}

}  // namespace kolvane
