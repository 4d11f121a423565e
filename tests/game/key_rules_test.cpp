// Key commands: pause, firing and its costs, starting and quitting.
#include <gtest/gtest.h>

#include "arena.h"

namespace kolvane {
namespace {

using testing::Arena;

int activeBullets(const Ship& ship) {
    int n = 0;
    for (int i = 0; i < Ship::kSlots; ++i) n += ship.bullet(i).isActive() ? 1 : 0;
    return n;
}

int activeMissiles(const Ship& ship) {
    int n = 0;
    for (int i = 0; i < Ship::kSlots; ++i) n += ship.missile(i).isActive() ? 1 : 0;
    return n;
}

TEST(KeyPause, PressingPTwiceStaysPaused) {
    Arena a;
    a.start();
    a.key(vk::kP);
    EXPECT_TRUE(a.game().paused);
    a.key(vk::kP);
    EXPECT_TRUE(a.game().paused);
}

TEST(KeyPause, HeldPResumesAtItsFirstRepeat) {
    Arena a;
    a.start();
    a.key(vk::kP);
    a.key(vk::kP, true);
    EXPECT_FALSE(a.game().paused);
    a.key(vk::kP, true);
    EXPECT_FALSE(a.game().paused);
}

TEST(KeyPause, AnyKeyResumesEvenArrowRepeats) {
    Arena a;
    a.start();
    a.key(vk::kP);
    a.key(vk::kLeft, true);
    EXPECT_FALSE(a.game().paused);
}

TEST(KeyPause, PDoesNothingOnTheTitleScreen) {
    Arena a;
    a.key(vk::kP);
    EXPECT_FALSE(a.game().paused);
}

TEST(KeyPause, SpaceWhilePausedResumesAndFires) {
    Arena a;
    a.start();
    a.game().score = 100;
    a.key(vk::kP);
    a.key(vk::kSpace);
    EXPECT_FALSE(a.game().paused);
    EXPECT_EQ(activeBullets(a.ship()), 1);
    EXPECT_EQ(a.game().score, 95);
    EXPECT_EQ(a.game().shotsFired, 1);
}

TEST(KeySpace, RepeatIsIgnored) {
    Arena a;
    a.start();
    a.game().score = 100;
    a.key(vk::kSpace, true);
    EXPECT_EQ(activeBullets(a.ship()), 0);
    EXPECT_EQ(a.game().score, 100);
    EXPECT_EQ(a.game().shotsFired, 0);
}

TEST(KeySpace, CostsAndCountsWithoutAShip) {
    Arena a;
    a.game().score = 12;
    a.key(vk::kSpace);  // title screen: nothing leaves, the shot is still paid
    a.key(vk::kSpace);
    a.key(vk::kSpace);
    EXPECT_EQ(a.game().score, 2);
    EXPECT_EQ(a.game().shotsFired, 3);
}

TEST(KeySpace, ScoreOfExactlyFiveIsKept) {
    Arena a;
    a.start();
    a.game().score = 5;
    a.key(vk::kSpace);
    EXPECT_EQ(a.game().score, 5);
    a.game().score = 6;
    a.key(vk::kSpace);
    EXPECT_EQ(a.game().score, 1);
}

struct SpecialCost {
    std::int32_t special;
    std::int32_t cost;
    std::int32_t shots;
};

class KeySecondaryCost : public ::testing::TestWithParam<SpecialCost> {};

TEST_P(KeySecondaryCost, TakenOnlyFromAHigherScore) {
    const SpecialCost c = GetParam();
    Arena a;
    a.start();
    a.game().special = c.special;
    a.game().score = c.cost;
    a.key(vk::kX);
    EXPECT_EQ(a.game().score, c.cost);
    EXPECT_EQ(a.game().shotsFired, c.shots);
    a.game().score = c.cost + 1;
    a.key(vk::kX);
    EXPECT_EQ(a.game().score, 1);
    EXPECT_EQ(a.game().shotsFired, 2 * c.shots);
}

INSTANTIATE_TEST_SUITE_P(Weapons, KeySecondaryCost,
                         ::testing::Values(SpecialCost{kSpreadfire, 25, 5},
                                           SpecialCost{kMissileburst, 40, 8},
                                           SpecialCost{kMissiles, 10, 2},
                                           SpecialCost{kSuperbullet, 5, 1}));

TEST(KeySecondary, SpreadfireFiresFiveBullets) {
    Arena a;
    a.start();
    a.game().special = kSpreadfire;
    a.key(vk::kX);
    EXPECT_EQ(activeBullets(a.ship()), 5);
}

TEST(KeySecondary, MissilesWithAnEmptyStockDoNothing) {
    Arena a;
    a.start();
    a.ship().addMissiles(-a.ship().getMissileCount());
    a.game().score = 100;
    a.key(vk::kX);
    EXPECT_EQ(a.game().score, 100);
    EXPECT_EQ(a.game().shotsFired, 0);
    EXPECT_EQ(activeMissiles(a.ship()), 0);
}

TEST(KeySecondary, MissileburstAndRepulsorUseTheField) {
    Arena a;
    a.start();
    a.game().special = kMissileburst;
    a.key(vk::kX);
    EXPECT_EQ(activeMissiles(a.ship()), 4);
    EXPECT_EQ(a.ship().getMissileCount(), 6);

    const Vec2 before = a.world.asteroids[0].getVelocity();
    a.game().special = kRepulsor;
    a.game().score = 100;
    a.key(vk::kX);
    EXPECT_NE(a.world.asteroids[0].getVelocity(), before);
    EXPECT_EQ(a.game().score, 100);
    EXPECT_EQ(a.game().shotsFired, 8);
}

TEST(KeySecondary, TeleportDrawsYThenX) {
    Arena a;
    a.start();
    a.game().special = kTeleport;
    const std::uint32_t state = randomState();
    const std::int32_t y = randomInt(0, a.client.bottom);
    const std::int32_t x = randomInt(0, a.client.right);
    ASSERT_NE(x, y);
    ASSERT_TRUE(x != 0 && y != 0);
    srand(state);
    a.game().score = 100;
    a.key(vk::kX);
    EXPECT_EQ(a.ship().getTeleportTarget(), Vec2(x, y));
    EXPECT_EQ(a.ship().teleportCharge, 1);
    EXPECT_EQ(a.game().score, 100);
    EXPECT_EQ(a.game().shotsFired, 0);
}

TEST(KeySecondary, TeleportWaitsForTheCooldown) {
    Arena a;
    a.start();
    a.game().special = kTeleport;
    a.ship().teleportCooldown = 1;
    const std::uint32_t state = randomState();
    a.key(vk::kX);
    EXPECT_EQ(a.ship().teleportCharge, 0);
    EXPECT_EQ(randomState(), state);  // no point was drawn
}

TEST(KeySecondary, IgnoredOnTheTitleScreenAndOnRepeat) {
    Arena a;
    a.game().special = kSpreadfire;
    a.game().score = 100;
    a.key(vk::kX);
    EXPECT_EQ(a.game().score, 100);
    a.start();
    a.game().special = kSpreadfire;
    a.game().score = 100;
    a.key(vk::kX, true);
    EXPECT_EQ(a.game().score, 100);
    EXPECT_EQ(activeBullets(a.ship()), 0);
}

TEST(KeyStart, SDuringAGameOnlyEndsThePause) {
    Arena a;
    a.start();
    a.game().score = 300;
    a.game().level = 3.0f;
    a.key(vk::kP);
    a.key(vk::kS);
    EXPECT_FALSE(a.game().paused);
    EXPECT_EQ(a.game().score, 300);
    EXPECT_EQ(a.game().level, 3.0f);
}

TEST(KeyStart, RepeatedSDoesNotStart) {
    Arena a;
    a.key(vk::kS, true);
    EXPECT_FALSE(a.game().running);
}

TEST(KeyQuit, EscapeQuitsInEveryState) {
    Arena a;
    a.key(vk::kEscape);  // title
    EXPECT_EQ(a.platform.quits, 1);
    a.start();
    a.key(vk::kEscape);  // playing
    a.key(vk::kP);
    a.key(vk::kEscape);  // paused
    EXPECT_FALSE(a.game().paused);
    a.ship().die();
    a.key(vk::kEscape, true);  // ship down, an auto-repeat
    EXPECT_EQ(a.platform.quits, 4);
}

}  // namespace
}  // namespace kolvane
