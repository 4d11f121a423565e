#pragma once
// The application icon: the player's arrowhead ship, nose up, white on black,
// drawn by the game's own renderer.
#include <cstdint>

#include "gfx/surface.h"

namespace kolvane::icon {

// The hull's four corners (nose, rear corner, notch, rear corner) for a
// square icon of side size: the ship's own proportions (nose and rear corners
// at one radius from the notch, the corners 120 degrees either side of the
// nose), as large as fits with a margin, centred.
void hullOutline(std::int32_t size, Point (&outline)[4]);

// A size x size picture of the ship.
gfx::Surface drawIcon(std::int32_t size);

}  // namespace kolvane::icon
