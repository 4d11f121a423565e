#pragma once
// The game's world: every object of the game (those of src/world and the
// ship), the game's state record and the screen's state, in one record
// constructed in this order: the ship, asteroids 0 to 15, saucers 0 to 4, the
// capsule, the target pointer. Each window program has one static instance;
// tests and the replay runner build their own. Nothing in it is allocated or
// freed while the game runs.
#include <array>

#include "core/geometry.h"
#include "core/vec2.h"
#include "game/game_state.h"
#include "ship/ship.h"
#include "world/asteroid.h"
#include "world/power_up.h"
#include "world/saucer.h"

namespace kolvane {

struct GameWorld {
    static constexpr int kAsteroids = 16;
    static constexpr int kSaucers = 5;

    GameWorld() = default;
    GameWorld(const GameWorld&) = delete;  // objects point into each other's slots
    GameWorld& operator=(const GameWorld&) = delete;

    Ship ship;
    std::array<Asteroid, kAsteroids> asteroids{};
    std::array<Saucer, kSaucers> saucers{};
    PowerUp powerUp;
    Vec2 targetPointer;  // the ship's heading stretched to 1000, for the aids

    GameState game;

    // Screen state kept between paints.
    Rect hudRect{};
    bool messageBlink = false;
};

}  // namespace kolvane
