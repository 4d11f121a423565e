#pragma once
// Contact rules, once per tick while a game runs: the ship against asteroids,
// projectiles against asteroids, saucer shots against the ship, bullets
// against saucers, and the capsule pick-up.
#include "core/geometry.h"

namespace kolvane {

class Platform;
struct World;

void resolveCollisions(World& world, Platform& platform, const Rect* client);

}  // namespace kolvane
