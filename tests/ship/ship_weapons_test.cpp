// Primary fire, Superbullet, Spreadfire, Missiles, Missileburst and Repulsor,
// each working through the ship's own projectile slots.
#include <cmath>

#include "ship_fixture.h"

namespace kolvane::testing {
namespace {

class ShipWeaponsTest : public ShipTest {
  protected:
    void SetUp() override { ship.respawn(kClient); }

    void fillBullets() {
        for (int i = 0; i < Ship::kSlots; ++i) ship.fire();
    }
    double bulletAngle(int i) const {
        return relativeAngle(ship.bullet(i).getVelocity(), ship.getHeading());
    }
    double missileAngle(int i) const {
        return relativeAngle(ship.missile(i).getHeading(), ship.getHeading());
    }
};

// Primary fire and Superbullet.

TEST_F(ShipWeaponsTest, FireUsesTheLowestFreeSlot) {
    for (int i = 0; i < 4; ++i) ship.fire();
    ship.fire();
    EXPECT_EQ(activeBullets(), 5);
    EXPECT_TRUE(ship.bullet(4).isActive());

    ship.deactivateBullet(2);
    ship.fire();
    EXPECT_TRUE(ship.bullet(2).isActive());
    EXPECT_FALSE(ship.bullet(5).isActive());
}

TEST_F(ShipWeaponsTest, FireLeavesFromTheCentreAlongTheHeading) {
    ship.setVelocity(Vec2(3, 3));  // not inherited
    ship.fire();
    const Bullet b = ship.getBullet(0);
    EXPECT_EQ(b.getPosition(), Vec2(370, 290));
    EXPECT_EQ(b.getVelocity(), Vec2(0, -15));
    EXPECT_EQ(b.getLifetime(), 33);
}

TEST_F(ShipWeaponsTest, FireWithAllSlotsBusyRestartsNothing) {
    fillBullets();
    ship.update(&client);
    ship.fire();
    for (int i = 0; i < Ship::kSlots; ++i) EXPECT_EQ(ship.bullet(i).getAge(), 1);
}

TEST_F(ShipWeaponsTest, InactiveShipCannotFire) {
    ship.die();
    ship.fire();
    ship.superbullet();
    EXPECT_EQ(activeBullets(), 0);
}

TEST_F(ShipWeaponsTest, SuperbulletIsSlowAndLongLived) {
    ship.fire();
    ship.superbullet();
    const Bullet b = ship.getBullet(1);
    EXPECT_TRUE(b.isActive());
    EXPECT_EQ(b.getVelocity(), Vec2(0, -10));
    EXPECT_EQ(b.getLifetime(), 1000);
}

// Spreadfire.

TEST_F(ShipWeaponsTest, SpreadfireFansFiveBulletsFromMinusTenToPlusTen) {
    ship.spreadfire();
    EXPECT_EQ(activeBullets(), 5);
    const double expected[] = {-10, -5, 0, 5, 10};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(bulletAngle(i), expected[i], 1e-3) << "slot " << i;
        EXPECT_NEAR(ship.bullet(i).getVelocity().length(), 10.0, 1e-5);
        EXPECT_EQ(ship.bullet(i).getLifetime(), 33);
    }
}

TEST_F(ShipWeaponsTest, SpreadfireFillsTheFreeSlotsInIndexOrder) {
    fillBullets();
    for (const int i : {2, 5, 6, 8, 9}) ship.deactivateBullet(i);
    ship.spreadfire();
    EXPECT_EQ(activeBullets(), 10);
    EXPECT_NEAR(bulletAngle(2), -10.0, 1e-3);
    EXPECT_NEAR(bulletAngle(5), -5.0, 1e-3);
    EXPECT_NEAR(bulletAngle(6), 0.0, 1e-3);
    EXPECT_NEAR(bulletAngle(8), 5.0, 1e-3);
    EXPECT_NEAR(bulletAngle(9), 10.0, 1e-3);
    EXPECT_EQ(ship.bullet(0).getVelocity().length(), 15.0);  // untouched
}

TEST_F(ShipWeaponsTest, SpreadfireNeedsFiveFreeSlots) {
    for (int i = 0; i < 6; ++i) ship.fire();
    ship.spreadfire();
    EXPECT_EQ(activeBullets(), 6);
    ship.deactivateBullet(0);
    ship.spreadfire();
    EXPECT_EQ(activeBullets(), 10);
}

// Missiles.

TEST_F(ShipWeaponsTest, FireMissileTargetsTheLowestActiveAsteroid) {
    placeAsteroid(7, Vec2(100, 100));
    placeAsteroid(3, Vec2(600, 500));
    ship.fireMissile(asteroids.data());
    EXPECT_EQ(activeMissiles(), 1);
    EXPECT_EQ(ship.missile(0).getTarget(), &asteroids[3]);
    EXPECT_EQ(ship.missile(0).getPosition(), Vec2(370, 290));
    EXPECT_NEAR(missileAngle(0), 0.0, 1e-4);
    EXPECT_EQ(ship.getMissileCount(), 9);
}

TEST_F(ShipWeaponsTest, FireMissileNeedsStockAndATarget) {
    ship.fireMissile(asteroids.data());  // no asteroid
    EXPECT_EQ(activeMissiles(), 0);
    EXPECT_EQ(ship.getMissileCount(), 10);

    placeAsteroid(0, Vec2(100, 100));
    for (int i = 0; i < 10; ++i) ship.fireMissile(asteroids.data());
    EXPECT_EQ(ship.getMissileCount(), 0);
    for (int i = 0; i < Ship::kSlots; ++i) ship.deactivateMissile(i);
    ship.fireMissile(asteroids.data());
    EXPECT_EQ(activeMissiles(), 0);
    EXPECT_EQ(ship.getMissileCount(), 0);
}

// Missileburst.

TEST_F(ShipWeaponsTest, MissileburstWithTwoAsteroidsLaunchesTwo) {
    placeAsteroid(4, Vec2(100, 100));
    placeAsteroid(9, Vec2(600, 100));
    ship.missileburst(asteroids.data());
    EXPECT_EQ(activeMissiles(), 2);
    EXPECT_EQ(ship.missile(0).getTarget(), &asteroids[4]);
    EXPECT_EQ(ship.missile(1).getTarget(), &asteroids[9]);
    EXPECT_NEAR(missileAngle(0), 0.0, 1e-4);
    EXPECT_NEAR(missileAngle(1), 60.0, 1e-3);
    EXPECT_EQ(ship.getMissileCount(), 8);
}

TEST_F(ShipWeaponsTest, MissileburstStopsWhenTheStockRunsOut) {
    for (int j = 0; j < 5; ++j) placeAsteroid(j * 2, Vec2(100 + 50 * j, 100));
    ship.fireMissile(asteroids.data());  // slot 0, stock 9
    ship.deactivateMissile(0);
    for (int i = 0; i < 6; ++i) ship.fireMissile(asteroids.data());  // slots 0..5, stock 3
    for (int i = 0; i < 6; ++i) ship.deactivateMissile(i);
    ASSERT_EQ(ship.getMissileCount(), 3);

    ship.missileburst(asteroids.data());
    EXPECT_EQ(activeMissiles(), 3);
    EXPECT_EQ(ship.getMissileCount(), 0);
    const double expected[] = {0, 60, 120};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ship.missile(i).getTarget(), &asteroids[i * 2]);
        EXPECT_NEAR(missileAngle(i), expected[i], 1e-3) << "missile " << i;
    }
}

TEST_F(ShipWeaponsTest, MissileburstLaunchesFourAtDifferentAsteroids) {
    for (int j = 0; j < 6; ++j) placeAsteroid(j, Vec2(100 + 50 * j, 100));
    ship.missileburst(asteroids.data());
    EXPECT_EQ(activeMissiles(), 4);
    const double expected[] = {0, 60, 120, 180};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ship.missile(i).getTarget(), &asteroids[i]);
        // +180 and -180 are the same direction.
        EXPECT_NEAR(std::abs(missileAngle(i)), expected[i], 1e-3) << "missile " << i;
    }
    EXPECT_EQ(ship.getMissileCount(), 6);
}

TEST_F(ShipWeaponsTest, MissileburstWithOneFreeSlotLaunchesOneStraightAhead) {
    placeAsteroid(0, Vec2(100, 100));
    for (int i = 0; i < 9; ++i) ship.fireMissile(asteroids.data());
    for (int j = 1; j < 5; ++j) placeAsteroid(j, Vec2(100 + 50 * j, 100));
    ship.missileburst(asteroids.data());
    EXPECT_EQ(activeMissiles(), 10);
    EXPECT_NEAR(missileAngle(9), 0.0, 1e-4);
    EXPECT_EQ(ship.missile(9).getTarget(), &asteroids[0]);
    EXPECT_EQ(ship.getMissileCount(), 0);
}

// Repulsor.

TEST_F(ShipWeaponsTest, RepulsePushesEveryAsteroidAwayByAFifth) {
    placeAsteroid(0, Vec2(370, 190));  // straight above
    placeAsteroid(1, Vec2(670, 690));  // below right, (300, 400) away
    const Vec2 v0 = asteroids[0].getVelocity();
    const Vec2 v1 = asteroids[1].getVelocity();
    const Vec2 v2 = asteroids[2].getVelocity();  // an inactive slot at (50, 20)

    ship.repulse(asteroids.data());
    const Vec2 d0 = asteroids[0].getVelocity() - v0;
    const Vec2 d1 = asteroids[1].getVelocity() - v1;
    const Vec2 d2 = asteroids[2].getVelocity() - v2;
    EXPECT_NEAR(d0.x, 0.0, 1e-6);
    EXPECT_NEAR(d0.y, -0.2, 1e-6);
    EXPECT_NEAR(d1.x, 0.12, 1e-6);
    EXPECT_NEAR(d1.y, 0.16, 1e-6);
    EXPECT_NEAR(d2.length(), 0.2, 1e-6);
    EXPECT_NEAR(relativeAngle(d2, Vec2(50 - 370, 20 - 290)), 0.0, 1e-3);
    EXPECT_FALSE(asteroids[2].isActive());
}

TEST_F(ShipWeaponsTest, RepulseOnTheShipsCentrePushesUpAndLeft) {
    placeAsteroid(5, Vec2(370, 290));
    const Vec2 before = asteroids[5].getVelocity();
    ship.repulse(asteroids.data());
    const Vec2 d = asteroids[5].getVelocity() - before;
    EXPECT_NEAR(d.x, -0.1414214, 1e-6);
    EXPECT_NEAR(d.y, -0.1414214, 1e-6);
}

}  // namespace
}  // namespace kolvane::testing
