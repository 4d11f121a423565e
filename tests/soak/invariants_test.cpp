// The soak's invariants: a world as the game leaves it passes, and each kind
// of breakage is caught and named.
#include "soak/invariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "game/game_world.h"
#include "support/fake_platform.h"
#include "support/seeded.h"

namespace kolvane::soak {
namespace {

using kolvane::testing::FakePlatform;
using kolvane::testing::Seeded;

constexpr Rect kClient{0, 0, 740, 580};

class Invariants : public ::testing::Test {
protected:
    // The problem reported, or "" when all holds.
    std::string problem() {
        std::string p;
        return checkInvariants(world, kClient, p) ? "" : p;
    }

    void smallAsteroidAt(Vec2 at) {
        world.asteroids[3].spawn(&kClient, Asteroid::kSmall, 1.0f, at, platform);
    }

    FakePlatform platform;
    Seeded seeded{platform};
    GameWorld world;
};

TEST_F(Invariants, HoldForAFreshWorldAndAShipInTheMiddle) {
    EXPECT_EQ(problem(), "");
    world.ship.respawn(kClient);
    world.game.running = true;
    world.game.asteroidsLeft = 20;
    world.game.setMessage("Marksmanship Award: +750 pts");
    EXPECT_EQ(problem(), "");
}

TEST_F(Invariants, MessageLine) {
    world.game.setMessage("123456789012345678901234567890123");  // 33 characters
    EXPECT_EQ(problem().rfind("message \"1234", 0), 0u) << problem();
    world.game.message.fill('x');
    EXPECT_EQ(problem(), "message is not terminated");
}

TEST_F(Invariants, CountersAndTimersAtAndBeyondTheirEnds) {
    struct Field {
        std::int32_t GameState::*field;
        std::int32_t lo;
        std::int32_t hi;
        const char* name;
    };
    for (const Field f : {Field{&GameState::messageAge, 0, 100, "messageAge"},
                          Field{&GameState::asteroidsLeft, 0, 20, "asteroidsLeft"},
                          Field{&GameState::levelClearTimer, 0, 75, "levelClearTimer"},
                          Field{&GameState::respawnTimer, 0, 75, "respawnTimer"}}) {
        for (const std::int32_t v : {f.lo, f.hi}) {
            world.game.*f.field = v;
            EXPECT_EQ(problem(), "") << f.name << " " << v;
        }
        for (const std::int32_t v : {f.lo - 1, f.hi + 1}) {
            world.game.*f.field = v;
            EXPECT_EQ(problem(), std::string(f.name) + " " + std::to_string(v));
        }
        world.game.*f.field = f.lo;
    }
}

TEST_F(Invariants, LivesBelowZeroOnlyMatterWhileAGameRuns) {
    world.ship.die();  // 0 lives, down to -1
    EXPECT_EQ(problem(), "");
    world.game.running = true;
    EXPECT_EQ(problem(), "lives -1 in a running game");
}

TEST_F(Invariants, MissilesNeverBelowZero) {
    world.ship.addMissiles(-1);
    EXPECT_EQ(problem(), "missileCount -1");
}

TEST_F(Invariants, FarEdgesAreInsideAndOnePastIsNot) {
    smallAsteroidAt(Vec2{740.0f, 580.0f});
    EXPECT_EQ(problem(), "");
    smallAsteroidAt(Vec2{0.0f, 0.0f});
    EXPECT_EQ(problem(), "");
    smallAsteroidAt(Vec2{740.5f, 10.0f});
    EXPECT_EQ(problem().rfind("asteroid 3 at (740.5", 0), 0u) << problem();
    smallAsteroidAt(Vec2{10.0f, -0.25f});
    EXPECT_EQ(problem().rfind("asteroid 3 at", 0), 0u) << problem();
    smallAsteroidAt(Vec2{std::numeric_limits<float>::quiet_NaN(), 1.0f});
    EXPECT_EQ(problem().rfind("asteroid 3 at", 0), 0u) << problem();
}

TEST_F(Invariants, InactiveObjectsMayBeAnywhere) {
    smallAsteroidAt(Vec2{-50.0f, 9000.0f});
    world.asteroids[3].setActive(false);
    world.powerUp.spawn(Vec2{-50.0f, 0.0f}, Vec2{});
    world.powerUp.setActive(false);
    EXPECT_EQ(problem(), "");
}

TEST_F(Invariants, CapsuleAndShip) {
    world.powerUp.spawn(Vec2{800.0f, 10.0f}, Vec2{});
    EXPECT_EQ(problem().rfind("capsule at", 0), 0u) << problem();
    world.powerUp.setActive(false);
    world.ship.respawn(Rect{0, 0, 2000, 2000});  // the centre of a larger field
    EXPECT_EQ(problem().rfind("ship at (1000", 0), 0u) << problem();
    std::string p;
    EXPECT_TRUE(checkCounters(world, p)) << "places are not counters";
}

}  // namespace
}  // namespace kolvane::soak
