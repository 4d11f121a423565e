// The held arrow keys read once per tick.
#include "ship/keyboard.h"

#include "ship_fixture.h"

namespace kolvane::testing {
namespace {

class KeyboardTest : public ShipTest {
protected:
    void SetUp() override {
        ship.respawn(kClient);
        running = true;
    }
    bool running = false;
};

TEST_F(KeyboardTest, SideArrowsTurn) {
    platform.hold(vk::kRight);
    pollKeyboard(ship, running, platform);
    EXPECT_NEAR(relativeAngle(ship.getHeading(), Vec2(0, -10)), 4.0, 1e-4);
    platform.release(vk::kRight);
    platform.hold(vk::kLeft);
    pollKeyboard(ship, running, platform);
    pollKeyboard(ship, running, platform);
    EXPECT_NEAR(relativeAngle(ship.getHeading(), Vec2(0, -10)), -4.0, 1e-4);
}

TEST_F(KeyboardTest, BothSideArrowsKeepTheHeadingAndBrake) {
    ship.setVelocity(Vec2(1, 0));
    platform.hold(vk::kLeft);
    platform.hold(vk::kRight);
    pollKeyboard(ship, running, platform);
    EXPECT_NEAR(ship.getHeading().x, 0.0, 1e-5);
    EXPECT_NEAR(ship.getHeading().y, -10.0, 1e-5);
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 0.9f);
    pollKeyboard(ship, running, platform);
    EXPECT_FLOAT_EQ(ship.getVelocity().x, 0.81f);
}

TEST_F(KeyboardTest, UpThrustsForwardAndDownBackward) {
    platform.hold(vk::kUp);
    pollKeyboard(ship, running, platform);
    EXPECT_NEAR(ship.getVelocity().y, -0.4, 1e-6);
    platform.release(vk::kUp);
    platform.hold(vk::kDown);
    pollKeyboard(ship, running, platform);
    EXPECT_NEAR(ship.getVelocity().y, -0.1, 1e-6);
}

TEST_F(KeyboardTest, OnlyTheHighBitCountsAsHeld) {
    platform.held[vk::kUp] = 0x01;  // toggled, not held
    pollKeyboard(ship, running, platform);
    EXPECT_EQ(ship.getVelocity(), Vec2());
}

TEST_F(KeyboardTest, NothingWhileNoGameRuns) {
    running = false;
    platform.hold(vk::kUp);
    platform.hold(vk::kRight);
    pollKeyboard(ship, running, platform);
    EXPECT_EQ(ship.getVelocity(), Vec2());
    EXPECT_EQ(ship.getHeading(), Vec2(0, -10));
}

}  // namespace
}  // namespace kolvane::testing
