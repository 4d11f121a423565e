// The charged teleport: remembered target, steps by key and by tick, the jump
// and its cooldown.
#include "ship_fixture.h"

namespace kolvane::testing {
namespace {

class ShipTeleportTest : public ShipTest {
  protected:
    void SetUp() override { ship.respawn(kClient); }
};

TEST_F(ShipTeleportTest, TargetStartsAtTheOrigin) {
    EXPECT_EQ(ship.getTeleportTarget(), Vec2());
    for (int i = 0; i < 9; ++i) ship.teleport(Vec2());
    EXPECT_EQ(ship.teleportCharge, 9);
    EXPECT_EQ(ship.getPosition(), Vec2(370, 290));
    ship.teleport(Vec2());
    EXPECT_EQ(ship.getPosition(), Vec2());
    EXPECT_EQ(ship.teleportCharge, 0);
}

TEST_F(ShipTeleportTest, TargetWithAZeroCoordinateKeepsTheOldOneButAddsAStep) {
    ship.teleport(Vec2(100, 200));
    ship.teleport(Vec2(0, 250));
    ship.teleport(Vec2(300, 0));
    EXPECT_EQ(ship.getTeleportTarget(), Vec2(100, 200));
    EXPECT_EQ(ship.teleportCharge, 3);
    ship.teleport(Vec2(-5, 7));  // any non-zero pair is accepted
    EXPECT_EQ(ship.getTeleportTarget(), Vec2(-5, 7));
}

TEST_F(ShipTeleportTest, JumpStopsTheShipAndStartsTheCooldown) {
    ship.setVelocity(Vec2(2, -3));
    ship.invincibleTimer = 20;
    const Vec2 heading = ship.getHeading();
    for (int i = 0; i < 10; ++i) ship.teleport(Vec2(123, 45));
    EXPECT_EQ(ship.getPosition(), Vec2(123, 45));
    EXPECT_EQ(ship.getVelocity(), Vec2());
    EXPECT_EQ(ship.getHeading(), heading);
    EXPECT_EQ(ship.teleportCharge, 0);
    EXPECT_EQ(ship.teleportCooldown, 100);
    EXPECT_EQ(ship.invincibleTimer, 95);
}

TEST_F(ShipTeleportTest, OnePressJumpsOnTheNinthTick) {
    ship.teleport(Vec2(600, 100));
    EXPECT_EQ(ship.teleportCharge, 1);
    for (int i = 0; i < 8; ++i) ship.update(&client);
    EXPECT_EQ(ship.teleportCharge, 9);
    EXPECT_EQ(ship.getPosition(), Vec2(370, 290));
    ship.update(&client);
    EXPECT_EQ(ship.getPosition(), Vec2(600, 100));
    EXPECT_EQ(ship.teleportCooldown, 100);
    // The outline of that tick was built before the jump.
    EXPECT_EQ(ship.outline[2], (Point{370, 290}));
    ship.update(&client);
    EXPECT_EQ(ship.outline[2], (Point{600, 100}));
}

TEST_F(ShipTeleportTest, CooldownHoldsAChargeAndCountsDown) {
    for (int i = 0; i < 10; ++i) ship.teleport(Vec2(600, 100));
    ship.teleport(Vec2(50, 60));  // callers don't press during a cooldown, but a step still counts
    ship.update(&client);
    EXPECT_EQ(ship.teleportCharge, 1);
    EXPECT_EQ(ship.teleportCooldown, 99);
    for (int i = 0; i < 99; ++i) ship.update(&client);
    EXPECT_EQ(ship.teleportCooldown, 0);
    EXPECT_EQ(ship.teleportCharge, 1);
    ship.update(&client);  // the charge advances again
    EXPECT_EQ(ship.teleportCharge, 2);
}

TEST_F(ShipTeleportTest, TargetSurvivesRespawnAndANewGame) {
    ship.teleport(Vec2(222, 333));
    ship.die();
    ship.die();
    ship.die();
    ship.respawn(kClient);
    EXPECT_EQ(ship.teleportCharge, 0);
    EXPECT_EQ(ship.getTeleportTarget(), Vec2(222, 333));
    for (int i = 0; i < 10; ++i) ship.teleport(Vec2());
    EXPECT_EQ(ship.getPosition(), Vec2(222, 333));
}

}  // namespace
}  // namespace kolvane::testing
