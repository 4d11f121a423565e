#pragma once
// Contact rules, once per tick while a game runs: the ship against asteroids,
// projectiles against asteroids, saucer shots against the ship, bullets
// against saucers, and the capsule pick-up.
#include "core/geometry.h"

namespace kolvane {

class MessageBoxes;
struct GameWorld;

void resolveCollisions(GameWorld& world, MessageBoxes& boxes, const Rect* client);

}  // namespace kolvane
