// Capsules: the one-in-twelve drop and the ten pick-up effects, each forced by
// choosing the generator's state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "arena.h"

namespace kolvane {
namespace {

using testing::Arena;
using testing::seedSoThat;

struct Row {
    std::int32_t effect;
    std::int32_t specialBefore;
    std::int32_t specialAfter;
    const char* message;
    std::int32_t extraMissiles;
};

class CapsuleEffect : public ::testing::TestWithParam<Row> {};

TEST_P(CapsuleEffect, AppliesItsRowAndKeepsTheMessageAge) {
    const Row row = GetParam();
    Arena a;
    a.start();
    a.clearField();
    a.moveShip(Vec2(300.0, 200.0));
    a.game().special = row.specialBefore;
    a.game().messageAge = 37;
    a.ship().invincibleTimer = 30;
    const std::int32_t missiles = a.ship().getMissileCount();
    const std::int32_t lives = a.ship().getLives();
    a.world.powerUp.spawn(a.ship().getPosition(), Vec2());
    ASSERT_TRUE(seedSoThat([&] { return randomInt(1, 10) == row.effect; }));

    a.collide();
    EXPECT_FALSE(a.world.powerUp.isActive());
    EXPECT_STREQ(a.game().messageText(), row.message);
    EXPECT_EQ(a.game().messageAge, 37);
    EXPECT_EQ(a.game().special, row.specialAfter);
    EXPECT_EQ(a.ship().getMissileCount(), missiles + row.extraMissiles);
    EXPECT_EQ(a.ship().invincibleTimer, row.effect == 6 ? 500 : 30);
    EXPECT_EQ(a.ship().getLives(), lives + (row.effect == 8 ? 1 : 0));
    EXPECT_EQ(a.game().targetingAids, row.effect == 9);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CapsuleEffect,
    ::testing::Values(Row{1, kMissiles, kSpreadfire, "Special: changed to Spreadfire", 0},
                      Row{1, kSpreadfire, kSpreadfire, "Special: changed to Spreadfire", 0},
                      Row{2, kSpreadfire, kMissiles, "Special: changed to Missile", 0},
                      Row{2, kMissiles, kMissiles, "Got 10 missiles", 10},
                      Row{3, kMissiles, kMissileburst, "Special: changed to Missileburst", 0},
                      Row{3, kMissileburst, kMissileburst, "Got 10 missiles", 10},
                      Row{4, kMissiles, kTeleport, "Special: changed to Teleport", 0},
                      Row{5, kMissiles, kSuperbullet, "Special: changed to Superbullet", 0},
                      Row{6, kMissiles, kMissiles, "Temporary invincibility", 0},
                      Row{7, kSpreadfire, kSpreadfire, "Got 10 missiles", 10},
                      Row{8, kMissiles, kMissiles, "Extra life!", 0},
                      Row{9, kMissiles, kMissiles, "Got targeting aids", 0},
                      Row{10, kMissiles, kRepulsor, "Special: changed to Repulsor", 0}));

TEST(CapsuleEffect, AidsLastUntilTheNextDeath) {
    Arena a;
    a.start();
    a.clearField();
    a.moveShip(Vec2(300.0, 200.0));
    a.world.powerUp.spawn(a.ship().getPosition(), Vec2());
    ASSERT_TRUE(seedSoThat([] { return randomInt(1, 10) == 9; }));
    a.collide();
    ASSERT_TRUE(a.game().targetingAids);
    a.placeSmall(0, a.ship().getPosition());
    a.collide();
    EXPECT_FALSE(a.ship().isActive());
    EXPECT_FALSE(a.game().targetingAids);
}

// A small rock at (300, 250) that the ship's bullet, fired from (300, 400),
// reaches in this pass: the drop lands far from the hull.
Asteroid& rockAboutToBeHit(Arena& a) {
    a.start();
    a.clearField();
    a.moveShip(Vec2(300.0, 400.0));
    a.ship().invincibleTimer = 1000;
    Asteroid& rock = a.placeSmall(6, Vec2(300.0, 250.0));
    a.ship().fire();
    for (int t = 0; t < 20; ++t) {
        Bullet b = a.ship().bullet(0);
        const Point now = b.getPoint();
        if (rock.contains(now.x, now.y)) break;
        a.ship().update(&a.client);
    }
    return rock;
}

TEST(CapsuleDrop, OneInTwelveDropsWithTheDrawnDrift) {
    Arena a;
    Asteroid& rock = rockAboutToBeHit(a);
    const Vec2 at = rock.getPosition();
    ASSERT_TRUE(seedSoThat([] {
        const int d = randomInt(0, 11);
        const int ay = randomInt(1, 3);
        const int bx = randomInt(1, 3);
        return d == 0 && ay == 3 && bx == 1;
    }));
    a.collide();
    ASSERT_FALSE(rock.isActive());
    const PowerUp& capsule = a.world.powerUp;
    ASSERT_TRUE(capsule.isActive());
    EXPECT_EQ(capsule.getPosition(), at);
    // v = ((1 - 2) / 9, (3 - 2) / 3), turned by a random angle.
    EXPECT_NEAR(capsule.getVelocity().length(), std::sqrt(10.0) / 9.0, 1e-6);
}

TEST(CapsuleDrop, OtherDrawsDropNothing) {
    Arena a;
    Asteroid& rock = rockAboutToBeHit(a);
    ASSERT_TRUE(seedSoThat([] { return randomInt(0, 11) == 1; }));
    a.collide();
    ASSERT_FALSE(rock.isActive());
    EXPECT_FALSE(a.world.powerUp.isActive());
}

TEST(CapsuleDrop, NeverTwoCapsulesAtOnce) {
    Arena a;
    Asteroid& rock = rockAboutToBeHit(a);
    a.world.powerUp.spawn(Vec2(600.0, 100.0), Vec2());
    ASSERT_TRUE(seedSoThat([] { return randomInt(0, 11) == 0; }));
    a.collide();
    ASSERT_FALSE(rock.isActive());
    EXPECT_EQ(a.world.powerUp.getPosition(), Vec2(600.0, 100.0));
    EXPECT_EQ(a.world.powerUp.getAge(), 0);
}

}  // namespace
}  // namespace kolvane
