// The per-tick rules: bringing the ship back and launching saucers.
#include <gtest/gtest.h>

#include <cstring>

#include "arena.h"

namespace kolvane {
namespace {

using testing::Arena;

int activeSaucers(const GameWorld& w) {
    int n = 0;
    for (const Saucer& s : w.saucers) n += s.isActive() ? 1 : 0;
    return n;
}

TEST(Respawn, ShipReturnsOnThe76thTick) {
    Arena a;
    a.cycle.create(a.client);
    a.start();
    a.clearField();  // nothing to collide with while the ship is down
    a.game().asteroidsLeft = 20;
    a.ship().die();
    a.game().messageAge = 40;
    for (int t = 1; t <= 75; ++t) {
        a.cycle.tick(a.client);
        ASSERT_FALSE(a.ship().isActive()) << t;
        ASSERT_EQ(a.game().respawnTimer, t);
    }
    a.cycle.tick(a.client);
    EXPECT_TRUE(a.ship().isActive());
    EXPECT_EQ(a.game().respawnTimer, 0);
    EXPECT_EQ(std::strcmp(a.game().messageText(), "Temporary invincibility"), 0);
    EXPECT_EQ(a.game().messageAge, 0);
    EXPECT_EQ(a.ship().getLives(), 2);
    EXPECT_EQ(a.ship().invincibleTimer, 100);
}

TEST(Respawn, ActiveShipLeavesTheTimerAlone) {
    Arena a;
    a.start();
    a.game().respawnTimer = 3;
    stepRespawn(a.world, &a.client);
    EXPECT_EQ(a.game().respawnTimer, 3);
}

TEST(Respawn, PausedTicksDoNotCount) {
    Arena a;
    a.start();
    a.ship().die();
    a.key(vk::kP);
    for (int t = 0; t < 100; ++t) a.cycle.tick(a.client);
    EXPECT_EQ(a.game().respawnTimer, 0);
    EXPECT_FALSE(a.ship().isActive());
}

TEST(SaucerLaunch, ThousandPointsLaunchOneAndRaiseTheThreshold) {
    Arena a;
    a.start();
    a.game().score = 999;
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(activeSaucers(a.world), 0);
    a.game().score = 1000;
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_TRUE(a.world.saucers[0].isActive());
    EXPECT_EQ(a.world.saucers[0].getTarget(), &a.ship());
    EXPECT_EQ(a.game().nextSaucerScore, 2000);
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(activeSaucers(a.world), 1);
}

TEST(SaucerLaunch, TwoThresholdsComeOnConsecutiveTicks) {
    Arena a;
    a.start();
    a.game().score = 2100;
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(activeSaucers(a.world), 1);
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(activeSaucers(a.world), 2);
    EXPECT_EQ(a.game().nextSaucerScore, 3000);
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(activeSaucers(a.world), 2);
}

TEST(SaucerLaunch, ThresholdAdvancesWithEverySlotBusy) {
    Arena a;
    a.start();
    for (int i = 0; i < GameWorld::kSaucers; ++i) {
        launchSaucer(a.world.saucers.data(), &a.client, &a.ship());
    }
    a.game().score = 1000;
    stepSaucerLaunch(a.world, &a.client);
    EXPECT_EQ(a.game().nextSaucerScore, 2000);
    EXPECT_EQ(activeSaucers(a.world), 5);
}

}  // namespace
}  // namespace kolvane
