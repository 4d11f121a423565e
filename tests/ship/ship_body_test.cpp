// The ship's body: construction, respawn, the hull outline, motion and lives.
#include <cmath>

#include "ship_fixture.h"

namespace kolvane::testing {
namespace {

using ShipBodyTest = ShipTest;

TEST_F(ShipBodyTest, StartsInactiveWithoutLivesOrStock) {
    EXPECT_FALSE(ship.isActive());
    EXPECT_EQ(ship.getLives(), 0);
    EXPECT_EQ(ship.getMissileCount(), 0);
    EXPECT_EQ(ship.getPosition(), Vec2(5, 5));
    EXPECT_EQ(ship.getHeading(), Vec2(10, 0));
    EXPECT_EQ(ship.teleportCooldown, 0);
    EXPECT_TRUE(ship.getRegion().empty());
}

TEST_F(ShipBodyTest, RespawnOutlineTruncatesTheRearCornersToRow294) {
    ship.respawn(kClient);
    const std::array<Point, 4> expected{{{370, 280}, {361, 294}, {370, 290}, {378, 294}}};
    EXPECT_EQ(ship.outline, expected);
    EXPECT_EQ(ship.getPosition(), Vec2(370, 290));
    EXPECT_EQ(ship.getHeading(), Vec2(0, -10));
    EXPECT_EQ(ship.getVelocity(), Vec2());
}

TEST_F(ShipBodyTest, RespawnCentresByIntegerHalves) {
    ship.respawn(Rect{0, 0, 741, 581});
    EXPECT_EQ(ship.getPosition(), Vec2(370, 290));
    ship.respawn(Rect{100, 50, 300, 151});
    EXPECT_EQ(ship.getPosition(), Vec2(100, 50));
}

TEST_F(ShipBodyTest, RespawnGivesThreeLivesOnlyWhenNoneAreLeft) {
    ship.respawn(kClient);
    EXPECT_EQ(ship.getLives(), 3);
    ship.die();
    ship.die();
    EXPECT_EQ(ship.getLives(), 1);
    ship.addLife();
    ship.respawn(kClient);
    EXPECT_EQ(ship.getLives(), 2);  // kept

    ship.die();
    ship.die();
    ship.respawn(kClient);
    EXPECT_EQ(ship.getLives(), 3);  // from 0

    ship.die();
    ship.die();
    ship.die();
    ship.die();
    EXPECT_EQ(ship.getLives(), -1);
    ship.respawn(kClient);
    EXPECT_EQ(ship.getLives(), 3);  // from -1
}

TEST_F(ShipBodyTest, RespawnResetsTheMissileStockToTen) {
    ship.respawn(kClient);
    ship.addMissiles(25);
    EXPECT_EQ(ship.getMissileCount(), 35);
    ship.respawn(kClient);
    EXPECT_EQ(ship.getMissileCount(), 10);
}

TEST_F(ShipBodyTest, RespawnSwitchesProjectilesOffAndRestoresTheShield) {
    ship.respawn(kClient);
    placeAsteroid(0, Vec2(100, 100));
    ship.fire();
    ship.fireMissile(asteroids.data());
    ship.invincibleTimer = 0;
    ship.teleportCharge = 4;
    ship.teleportCooldown = 37;
    ship.die();

    ship.respawn(kClient);
    EXPECT_TRUE(ship.isActive());
    EXPECT_EQ(activeBullets(), 0);
    EXPECT_EQ(activeMissiles(), 0);
    EXPECT_EQ(ship.invincibleTimer, 100);
    EXPECT_EQ(ship.teleportCharge, 0);
    EXPECT_EQ(ship.teleportCooldown, 37);  // kept
}

TEST_F(ShipBodyTest, RegionFollowsOnlyAtTheNextUpdate) {
    ship.respawn(kClient);
    EXPECT_FALSE(ship.getRegion().contains(370, 285));
    ship.update(&client);
    EXPECT_TRUE(ship.getRegion().contains(370, 285));
    EXPECT_FALSE(ship.getRegion().contains(370, 293));  // the notch behind the centre
}

TEST_F(ShipBodyTest, OutlineFollowsTheHeading) {
    ship.respawn(kClient);
    ship.setHeading(Vec2(10, 0));
    ship.update(&client);
    // Nose to the right, rear corners at +-120 degrees.
    const std::array<Point, 4> expected{{{380, 290}, {365, 281}, {370, 290}, {365, 298}}};
    EXPECT_EQ(ship.outline, expected);
}

TEST_F(ShipBodyTest, MovesThenWraps) {
    ship.respawn(kClient);
    ship.setPosition(Vec2(738, 2));
    ship.setVelocity(Vec2(5, -4));
    ship.update(&client);
    EXPECT_EQ(ship.getPosition(), Vec2(3, 578));
    EXPECT_EQ(ship.outline[2], (Point{3, 578}));
}

TEST_F(ShipBodyTest, SpeedOfExactlySevenIsKept) {
    ship.respawn(kClient);
    ship.setVelocity(Vec2(7, 0));
    ship.update(&client);
    EXPECT_EQ(ship.getVelocity(), Vec2(7, 0));
    EXPECT_EQ(ship.getPosition(), Vec2(377, 290));
}

TEST_F(ShipBodyTest, SpeedAboveSevenIsUsedOnceThenCut) {
    ship.respawn(kClient);
    ship.setVelocity(Vec2(7.4, 0));
    ship.update(&client);
    EXPECT_FLOAT_EQ(ship.getPosition().x, 377.4f);
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 7.0f);
    ship.update(&client);
    EXPECT_FLOAT_EQ(ship.getPosition().x, 384.4f);
}

TEST_F(ShipBodyTest, ThrustAddsTheScaledHeading) {
    ship.respawn(kClient);
    ship.thrust(Ship::kForwardThrust);
    EXPECT_NEAR(ship.getVelocity().y, -0.4, 1e-6);
    ship.thrust(Ship::kReverseThrust);
    ship.thrust(Ship::kReverseThrust);
    EXPECT_NEAR(ship.getVelocity().y, 0.2, 1e-6);
    EXPECT_EQ(ship.getVelocity().x, 0.0f);
}

TEST_F(ShipBodyTest, TurnsInFourDegreeSteps) {
    ship.respawn(kClient);
    ship.turnRight();
    EXPECT_NEAR(relativeAngle(ship.getHeading(), Vec2(0, -10)), 4.0, 1e-4);
    ship.turnLeft();
    ship.turnLeft();
    EXPECT_NEAR(relativeAngle(ship.getHeading(), Vec2(0, -10)), -4.0, 1e-4);
    EXPECT_NEAR(ship.getHeading().length(), 10.0, 1e-5);
}

TEST_F(ShipBodyTest, BrakeStopsDeadAtOrBelowATenth) {
    ship.respawn(kClient);
    ship.setVelocity(Vec2(0, std::nextafter(0.1f, 0.0f)));
    ship.brake();
    EXPECT_EQ(ship.getVelocity(), Vec2());
    ship.setVelocity(Vec2(0.06, -0.05));
    ship.brake();
    EXPECT_EQ(ship.getVelocity(), Vec2());
}

TEST_F(ShipBodyTest, BrakeAtTheFloatTenthStillSlows) {
    // 0.1f is a little above 0.1, so it is slowed by a tenth, not stopped.
    ship.respawn(kClient);
    ship.setVelocity(Vec2(0.1, 0));
    ship.brake();
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 0.09f);
}

TEST_F(ShipBodyTest, BrakeRemovesATenthKeepingTheDirection) {
    ship.respawn(kClient);
    ship.setVelocity(Vec2(1, 0));
    ship.brake();
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 0.9f);
    EXPECT_EQ(ship.getVelocity().y, 0.0f);
    ship.setVelocity(Vec2(0.6, -0.8));
    ship.brake();
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 0.54f);
    EXPECT_FLOAT_EQ(ship.getVelocity().y, -0.72f);
}

TEST_F(ShipBodyTest, DeadShipFreezesItsProjectilesAndCooldown) {
    ship.respawn(kClient);
    placeAsteroid(0, Vec2(100, 100));
    ship.fire();
    ship.fireMissile(asteroids.data());
    ship.update(&client);
    ship.teleportCooldown = 50;
    const Vec2 bulletAt = ship.bullet(0).getPosition();
    const Vec2 missileAt = ship.missile(0).getPosition();
    const std::array<Point, 4> diedWith = ship.outline;

    ship.die();
    for (int i = 0; i < 40; ++i) ship.update(&client);
    EXPECT_TRUE(ship.bullet(0).isActive());
    EXPECT_EQ(ship.bullet(0).getPosition(), bulletAt);
    EXPECT_EQ(ship.missile(0).getPosition(), missileAt);
    EXPECT_EQ(ship.teleportCooldown, 50);
    EXPECT_EQ(ship.outline, diedWith);
}

}  // namespace
}  // namespace kolvane::testing
