#pragma once
// Everything in a frame that is not an object drawing itself: the fixed
// stars, the targeting aids, the title texts, the HUD band and the message line.
#include "core/geometry.h"

namespace kolvane {

namespace gfx {
class Surface;
}
struct GameWorld;

void drawStarfield(gfx::Surface& surface);
void drawTargetingAids(GameWorld& world, gfx::Surface& surface);
void drawTitleScreen(gfx::Surface& surface, const Rect& client);
void drawHud(GameWorld& world, gfx::Surface& surface);
// Ages the message and empties it once it has been shown for 100 paints.
void drawMessage(GameWorld& world, gfx::Surface& surface);

// The HUD's name of a special weapon ("" for an unknown value).
const char* specialName(int special);

}  // namespace kolvane
