// Starting a game and a level, and the interval after a level is cleared.
#include <gtest/gtest.h>

#include <cstring>

#include "arena.h"

namespace kolvane {
namespace {

using testing::Arena;

constexpr int kInterval = 75;

// Empties the field as if the last asteroid had just been shot.
void clearLevel(Arena& a) {
    a.clearField();
    a.game().asteroidsLeft = 0;
}

void stepClear(Arena& a, int ticks = 1) {
    for (int i = 0; i < ticks; ++i) stepLevelClear(a.world, a.platform, &a.client);
}

bool messageIs(Arena& a, const char* text) {
    return std::strcmp(a.game().messageText(), text) == 0;
}

TEST(StartGame, ResetsTheGameButNotItsTimers) {
    Arena a;
    a.cycle.create(a.client);
    GameState& g = a.game();
    g.score = 4000;
    g.level = 5.0f;
    g.special = kRepulsor;
    g.targetingAids = true;
    g.nextSaucerScore = 5000;
    g.respawnTimer = 7;
    g.levelClearTimer = 9;
    g.messageAge = 33;
    launchSaucer(a.world.saucers.data(), &a.client, &a.ship());
    a.world.saucers[0].update(&a.client);  // fires its shot
    ASSERT_TRUE(a.world.saucers[0].bullet.isActive());
    a.world.powerUp.spawn(Vec2(100.0, 100.0), Vec2());

    a.start();
    EXPECT_TRUE(g.running);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.level, 1.0f);
    EXPECT_EQ(g.special, kMissiles);
    EXPECT_FALSE(g.targetingAids);
    EXPECT_EQ(g.nextSaucerScore, 1000);
    EXPECT_TRUE(messageIs(a, "Good luck..."));
    EXPECT_EQ(g.messageAge, 33);
    EXPECT_EQ(g.respawnTimer, 7);
    EXPECT_EQ(g.levelClearTimer, 9);
    EXPECT_FALSE(a.world.saucers[0].isActive());
    EXPECT_FALSE(a.world.saucers[0].bullet.isActive());
    EXPECT_FALSE(a.world.powerUp.isActive());
    EXPECT_TRUE(a.ship().isActive());
    EXPECT_EQ(a.ship().getLives(), 3);
    EXPECT_EQ(a.ship().getPosition(), Vec2(370.0, 290.0));
}

TEST(NewLevel, FourLargeAsteroidsAtALevelThirdSpeed) {
    Arena a;
    a.start();
    a.placeSmall(9, Vec2(50.0, 50.0));
    a.game().shotsFired = 12;
    a.game().asteroidsLeft = 3;
    newLevel(a.world, a.platform, 4, &a.client);
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        const Asteroid& rock = a.world.asteroids[i];
        ASSERT_EQ(rock.isActive(), i < 4) << i;
        if (i < 4) {
            EXPECT_EQ(rock.getSize(), Asteroid::kLarge);
            EXPECT_NEAR(rock.getVelocity().length(), 4.0 / 3.0, 1e-6);
        }
    }
    EXPECT_EQ(a.game().asteroidsLeft, 20);
    EXPECT_EQ(a.game().shotsFired, 0);
}

TEST(LevelClear, AnnouncesOnTheFirstTickAndPaysAfterTheInterval) {
    Arena a;
    a.start();
    clearLevel(a);
    a.game().shotsFired = 26;
    a.game().score = 1000;
    stepClear(a);
    EXPECT_TRUE(messageIs(a, "Marksmanship Award: +750 pts"));
    EXPECT_EQ(a.game().levelClearTimer, 1);
    stepClear(a, kInterval - 1);
    EXPECT_EQ(a.game().levelClearTimer, kInterval);
    EXPECT_EQ(a.game().score, 1000);
    EXPECT_EQ(a.game().level, 1.0f);
    stepClear(a);
    EXPECT_EQ(a.game().score, 1750);
    EXPECT_EQ(a.game().level, 2.0f);
    EXPECT_EQ(a.game().levelClearTimer, 0);
    EXPECT_EQ(a.game().asteroidsLeft, 20);
    EXPECT_NEAR(a.world.asteroids[0].getVelocity().length(), 2.0 / 3.0, 1e-6);
}

TEST(LevelClear, TwentySevenShotsEarnNothing) {
    Arena a;
    a.start();
    clearLevel(a);
    a.game().shotsFired = 27;
    a.game().setMessage("");
    stepClear(a, kInterval + 1);
    EXPECT_TRUE(messageIs(a, ""));
    EXPECT_EQ(a.game().score, 0);
    EXPECT_EQ(a.game().level, 2.0f);
}

TEST(LevelClear, NoShotsAtAllEarnTheAward) {
    Arena a;
    a.start();
    clearLevel(a);
    stepClear(a, kInterval + 1);
    EXPECT_EQ(a.game().score, 750);
}

TEST(LevelClear, ShotsDuringTheIntervalCancelThePayment) {
    Arena a;
    a.start();
    clearLevel(a);
    a.game().shotsFired = 26;
    stepClear(a);
    EXPECT_TRUE(messageIs(a, "Marksmanship Award: +750 pts"));
    stepClear(a, 10);
    a.key(vk::kSpace);  // the 27th shot, fired while the next level waits
    stepClear(a, kInterval - 11);
    EXPECT_EQ(a.game().levelClearTimer, kInterval);
    stepClear(a);
    EXPECT_EQ(a.game().score, 0);
    EXPECT_EQ(a.game().level, 2.0f);
}

TEST(LevelClear, RecentresAShipOffBothCentreLines) {
    Arena a;
    a.start();
    a.moveShip(Vec2(100.0, 100.0));
    clearLevel(a);
    stepClear(a);
    EXPECT_EQ(a.ship().teleportCharge, 1);
    EXPECT_EQ(a.ship().getTeleportTarget(), Vec2(370.0, 290.0));
}

TEST(LevelClear, LeavesAShipOnACentreLine) {
    Arena a;
    a.start();
    a.moveShip(Vec2(370.0, 100.0));
    clearLevel(a);
    stepClear(a);
    EXPECT_EQ(a.ship().teleportCharge, 0);
}

TEST(LevelClear, GameEndingInTheIntervalSkipsTheNextFirstTick) {
    Arena a;
    a.start();
    clearLevel(a);
    stepClear(a, 10);
    a.game().running = false;  // the last life lost inside the interval

    a.start();
    a.moveShip(Vec2(100.0, 100.0));
    a.game().setMessage("");
    clearLevel(a);
    stepClear(a);
    EXPECT_EQ(a.ship().teleportCharge, 0);
    EXPECT_TRUE(messageIs(a, ""));
    EXPECT_EQ(a.game().levelClearTimer, 11);
    stepClear(a, kInterval - 11);
    EXPECT_EQ(a.game().level, 1.0f);
    stepClear(a);
    EXPECT_EQ(a.game().level, 2.0f);
    EXPECT_EQ(a.game().score, 750);  // paid though never announced
}

TEST(LevelClear, NothingWhileAsteroidsRemain) {
    Arena a;
    a.start();
    a.game().asteroidsLeft = 1;
    stepClear(a, 100);
    EXPECT_EQ(a.game().levelClearTimer, 0);
    EXPECT_EQ(a.game().level, 1.0f);
}

}  // namespace
}  // namespace kolvane
