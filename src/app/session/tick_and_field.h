#pragma once
// What every front end shares: the tick period, and the client area a game
// window gives the game where the platform leaves its size to us.
#include <cstdint>

#include "core/geometry.h"

namespace kolvane {

// One tick of the game every 15 ms.
inline constexpr std::int32_t kTickMilliseconds = 15;

// The playing field of every window (whatever size the window has: the frame
// is scaled to it) and the replay runner's default.
inline constexpr std::int32_t kClientWidth = 740;
inline constexpr std::int32_t kClientHeight = 580;
inline constexpr Rect kDefaultClient{0, 0, kClientWidth, kClientHeight};

// The window's title and class name.
inline constexpr const char* kWindowTitle = "Kolvane";

}  // namespace kolvane
