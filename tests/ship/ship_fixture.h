#pragma once
// A world-less setting for the ship: one ship, sixteen asteroid slots, a fake
// platform with a fixed clock and a seeded generator.
#include <gtest/gtest.h>

#include <array>

#include "ship/ship.h"
#include "support/fake_platform.h"
#include "support/seeded.h"
#include "world/asteroid.h"

namespace kolvane::testing {

inline constexpr Rect kClient{0, 0, 740, 580};

// Reaches the motion fields a test needs to set directly.
class TestShip : public Ship {
  public:
    void setVelocity(Vec2 v) { velocity = v; }
    void setPosition(Vec2 p) { position = p; }
    void setHeading(Vec2 h) { heading = h; }
};

// The signed angle in degrees from ref to v, in (-180, 180].
inline double relativeAngle(Vec2 v, Vec2 ref) {
    double d = v.angle() - ref.angle();
    while (d > 180.0) d -= 360.0;
    while (d <= -180.0) d += 360.0;
    return d;
}

class ShipTest : public ::testing::Test {
  protected:
    // A small asteroid stays exactly where it is placed.
    void placeAsteroid(int slot, Vec2 at) {
        asteroids[slot].spawn(&client, Asteroid::kSmall, 0.5f, at, platform);
    }
    int activeBullets() const {
        int n = 0;
        for (int i = 0; i < Ship::kSlots; ++i) n += ship.bullet(i).isActive() ? 1 : 0;
        return n;
    }
    int activeMissiles() const {
        int n = 0;
        for (int i = 0; i < Ship::kSlots; ++i) n += ship.missile(i).isActive() ? 1 : 0;
        return n;
    }

    Rect client = kClient;
    FakePlatform platform;
    Seeded seeded{platform};
    TestShip ship;
    std::array<Asteroid, 16> asteroids{};
};

}  // namespace kolvane::testing
