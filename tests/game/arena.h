#pragma once
// A real world with a fake platform and a fixed clock, for driving the rules
// and the collision pass step by step.
#include <cstdint>

#include "app/session/frame_cycle.h"
#include "core/platform.h"
#include "core/random.h"
#include "game/collisions.h"
#include "game/game_world.h"
#include "game/rules.h"
#include "support/fake_platform.h"
#include "support/seeded.h"

namespace kolvane::testing {

struct Arena {
    FakePlatform platform;
    Seeded seeded{platform};
    GameWorld world;
    Rect client{0, 0, 740, 580};
    FrameCycle cycle{world, platform};

    GameState& game() { return world.game; }
    Ship& ship() { return world.ship; }

    void key(int virtualKey, bool repeat = false) {
        handleKeyDown(world, platform, &client, KeyEvent{virtualKey, repeat});
    }
    void start() { key(vk::kS); }
    void collide() { resolveCollisions(world, platform, &client); }

    void clearField() {
        for (Asteroid& a : world.asteroids) a.setActive(false);
    }
    // A motionless small asteroid centred at `at`.
    Asteroid& placeSmall(int slot, Vec2 at) {
        world.asteroids[slot].spawn(&client, Asteroid::kSmall, 0.0f, at, platform);
        return world.asteroids[slot];
    }
    // A large asteroid drifted inside the field, off its edge lines, so that
    // its centre can serve as a teleport target that the ship keeps.
    Asteroid& placeLarge(int slot) {
        Asteroid& r = world.asteroids[slot];
        r.spawn(&client, Asteroid::kLarge, 1.0f, Vec2(), platform);
        for (int i = 0; i < 50; ++i) {
            r.update(&client);  // wraps into [0, right) x [0, bottom)
            if (r.getPosition().x != 0.0f && r.getPosition().y != 0.0f) break;
        }
        return r;
    }
    // Jumps the ship to `to` with a full teleport charge and rebuilds its hull
    // there; the ship ends vulnerable unless the test says otherwise.
    void moveShip(Vec2 to) {
        for (int i = 0; i < 10; ++i) ship().teleport(to);
        ship().teleportCooldown = 0;
        ship().update(&client);
        ship().invincibleTimer = 0;
    }
};

// Finds a generator state from which `draws` (a sequence of randomInt calls
// under the arena's clock) returns true, and leaves the generator there.
template <class Draws>
bool seedSoThat(Draws&& draws) {
    for (std::uint32_t seed = 1; seed < 1000000; ++seed) {
        srand(seed);
        if (draws()) {
            srand(seed);
            return true;
        }
    }
    return false;
}

}  // namespace kolvane::testing
