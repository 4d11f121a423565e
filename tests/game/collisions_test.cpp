// The contact pass: hull, projectiles and asteroids; saucer shots and
// saucers; the order of the tests within one pass.
#include <gtest/gtest.h>

#include <cstring>

#include "arena.h"

namespace kolvane {
namespace {

using testing::Arena;

// A game with an empty field and the ship vulnerable at `at`.
void setUp(Arena& a, Vec2 at = Vec2(300.0, 200.0)) {
    a.start();
    a.clearField();
    a.moveShip(at);
}

int activeCount(const GameWorld& w, std::int32_t size) {
    int n = 0;
    for (const Asteroid& r : w.asteroids) n += (r.isActive() && r.getSize() == size) ? 1 : 0;
    return n;
}

TEST(ContactHull, AsteroidKillsTheShipAndStays) {
    Arena a;
    setUp(a);
    a.game().targetingAids = true;
    a.game().messageAge = 60;
    const Asteroid& rock = a.placeSmall(5, a.ship().getPosition());
    a.collide();
    EXPECT_FALSE(a.ship().isActive());
    EXPECT_EQ(a.ship().getLives(), 2);
    EXPECT_EQ(std::strcmp(a.game().messageText(), "Dead"), 0);
    EXPECT_EQ(a.game().messageAge, 0);
    EXPECT_FALSE(a.game().targetingAids);
    EXPECT_TRUE(rock.isActive());
    EXPECT_EQ(a.game().score, 0);
    EXPECT_TRUE(a.game().running);
}

TEST(ContactHull, InvincibilityAndTeleportChargeProtectTheHullOnly) {
    for (int guard = 0; guard < 2; ++guard) {
        Arena a;
        setUp(a);
        if (guard == 0) a.ship().invincibleTimer = 1;
        if (guard == 1) a.ship().teleportCharge = 1;
        const Vec2 at = a.ship().getPosition();
        a.placeSmall(0, at);
        a.placeSmall(1, at);
        a.ship().fire();
        a.collide();
        EXPECT_TRUE(a.ship().isActive()) << guard;
        EXPECT_FALSE(a.world.asteroids[0].isActive()) << guard;
        EXPECT_TRUE(a.world.asteroids[1].isActive()) << guard;  // the bullet is spent
        EXPECT_EQ(a.game().score, 50) << guard;
    }
}

TEST(ContactHull, LastLifeToAnAsteroidEndsTheGameInTheSamePass) {
    Arena a;
    setUp(a);
    a.ship().die();
    a.ship().die();
    a.ship().respawn(a.client);
    a.moveShip(Vec2(300.0, 200.0));
    ASSERT_EQ(a.ship().getLives(), 1);
    a.placeSmall(15, a.ship().getPosition());
    a.collide();
    EXPECT_EQ(a.ship().getLives(), 0);
    EXPECT_FALSE(a.game().running);
}

TEST(ContactProjectile, LargeAsteroidSplitsIntoFourAtItsPlace) {
    Arena a;
    a.start();
    a.clearField();
    a.game().level = 2.0f;
    // Slots 0, 1 and 3 hold small rocks in the middle, slot 2 a large one on
    // which the ship sits, shielded.
    for (int slot : {0, 1, 3}) a.placeSmall(slot, Vec2(370.0, 290.0));
    const Vec2 at = a.placeLarge(2).getPosition();
    a.moveShip(at);
    a.ship().invincibleTimer = 5;
    a.ship().fire();
    a.collide();
    EXPECT_FALSE(a.ship().bullet(0).isActive());
    EXPECT_EQ(a.game().asteroidsLeft, 19);
    EXPECT_EQ(a.game().score, 25);
    // Slots 0, 1 and 3 are busy: the fragments take 2, 4, 5 and 6.
    for (int slot : {2, 4, 5, 6}) {
        const Asteroid& f = a.world.asteroids[slot];
        EXPECT_TRUE(f.isActive()) << slot;
        EXPECT_EQ(f.getSize(), Asteroid::kSmall) << slot;
        EXPECT_EQ(f.getPosition(), at) << slot;
        EXPECT_NEAR(f.getVelocity().length(), 0.5, 1e-6) << slot;
    }
    EXPECT_EQ(activeCount(a.world, Asteroid::kSmall), 7);
    EXPECT_EQ(activeCount(a.world, Asteroid::kLarge), 0);
}

TEST(ContactProjectile, FragmentInSlotIMeetsTheRemainingProjectiles) {
    Arena a;
    a.start();
    a.clearField();
    const Vec2 at = a.placeLarge(0).getPosition();
    a.moveShip(at);
    a.ship().invincibleTimer = 5;
    a.ship().fire();  // bullet 0 splits the rock
    a.ship().fire();  // bullet 1 finds the fragment in slot 0 in the same pass
    a.collide();
    EXPECT_FALSE(a.ship().bullet(0).isActive());
    EXPECT_FALSE(a.ship().bullet(1).isActive());
    EXPECT_FALSE(a.world.asteroids[0].isActive());
    EXPECT_EQ(a.game().asteroidsLeft, 18);
    EXPECT_EQ(a.game().score, 75);
    EXPECT_EQ(activeCount(a.world, Asteroid::kSmall), 3);
}

TEST(ContactProjectile, BulletJBeforeMissileJBeforeBulletJPlusOne) {
    Arena a;
    setUp(a);
    a.ship().invincibleTimer = 5;
    const Vec2 at = a.ship().getPosition();
    a.placeSmall(0, at);
    a.placeSmall(1, at);
    a.ship().fire();
    a.ship().fireMissile(a.world.asteroids.data());
    a.ship().fire();
    a.collide();
    // Asteroid 0: bullet 0 destroys it. Asteroid 1: missile 0 comes before bullet 1.
    EXPECT_FALSE(a.ship().bullet(0).isActive());
    EXPECT_FALSE(a.ship().missile(0).isActive());
    EXPECT_TRUE(a.ship().bullet(1).isActive());
    EXPECT_EQ(a.game().score, 100);
}

TEST(ContactProjectile, PointOneStepAheadCatchesAFastBullet) {
    Arena a;
    setUp(a, Vec2(300.0, 400.0));
    a.ship().invincibleTimer = 1000;
    Asteroid& rock = a.placeSmall(3, Vec2(300.0, 250.0));
    a.ship().fire();  // straight up at 15 pixels a tick
    for (int t = 0; t < 20; ++t) {
        const Bullet b = a.ship().bullet(0);
        const Point ahead = (b.getPosition() + b.getVelocity()).toPoint();
        if (rock.contains(ahead.x, ahead.y)) break;
        a.ship().update(&a.client);
    }
    Bullet b = a.ship().bullet(0);
    const Point now = b.getPoint();
    ASSERT_TRUE(b.isActive());
    ASSERT_FALSE(rock.contains(now.x, now.y));
    a.collide();
    EXPECT_FALSE(rock.isActive());
    EXPECT_FALSE(a.ship().bullet(0).isActive());
}

TEST(ContactProjectile, DeadShipsProjectilesHitNothing) {
    Arena a;
    setUp(a);
    a.placeSmall(4, a.ship().getPosition());
    a.ship().invincibleTimer = 5;
    a.ship().fire();
    a.ship().die();
    a.collide();
    EXPECT_TRUE(a.world.asteroids[4].isActive());
    EXPECT_TRUE(a.ship().bullet(0).isActive());
}

TEST(ContactProjectile, ClearedLargeAsteroidIsWorth225) {
    Arena a;
    a.start();
    a.clearField();
    const Vec2 at = a.placeLarge(1).getPosition();
    a.moveShip(at);
    a.ship().invincibleTimer = 1000;
    for (int shot = 0; shot < 5; ++shot) {
        a.ship().fire();
        a.collide();
    }
    EXPECT_EQ(a.game().score, 225);
    EXPECT_EQ(a.game().asteroidsLeft, 15);
}

// A saucer in flight with its shot placed on the ship's centre.
Saucer& saucerShotAtShip(Arena& a) {
    launchSaucer(a.world.saucers.data(), &a.client, &a.ship());
    Saucer& s = a.world.saucers[0];
    s.bullet.fire(Vec2(1.0, 0.0), a.ship().getPosition(), Saucer::kShotSpeed,
                  Bullet::kEnemyLifetime);
    return s;
}

TEST(ContactSaucerShot, ShotKillsTheShip) {
    Arena a;
    setUp(a);
    Saucer& s = saucerShotAtShip(a);
    a.collide();
    EXPECT_FALSE(a.ship().isActive());
    EXPECT_FALSE(s.bullet.isActive());
    EXPECT_EQ(std::strcmp(a.game().messageText(), "Dead"), 0);
}

TEST(ContactSaucerShot, OrphanedShotNeverKills) {
    Arena a;
    setUp(a);
    Saucer& s = saucerShotAtShip(a);
    s.setActive(false);
    a.collide();
    EXPECT_TRUE(a.ship().isActive());
    EXPECT_TRUE(s.bullet.isActive());
}

TEST(ContactSaucerShot, ShieldAndTeleportChargeProtect) {
    for (int guard = 0; guard < 2; ++guard) {
        Arena a;
        setUp(a);
        if (guard == 0) a.ship().invincibleTimer = 1;
        if (guard == 1) a.ship().teleportCharge = 1;
        Saucer& s = saucerShotAtShip(a);
        a.collide();
        EXPECT_TRUE(a.ship().isActive()) << guard;
        EXPECT_TRUE(s.bullet.isActive()) << guard;
    }
}

TEST(ContactSaucerShot, LastLifeEndsTheGameOnePassLater) {
    Arena a;
    setUp(a);
    a.ship().die();
    a.ship().die();
    a.ship().respawn(a.client);
    a.moveShip(Vec2(300.0, 200.0));
    saucerShotAtShip(a);
    a.collide();
    EXPECT_EQ(a.ship().getLives(), 0);
    EXPECT_TRUE(a.game().running);
    a.collide();
    EXPECT_FALSE(a.game().running);
}

// A saucer in flight, and the ship moved onto its centre.
Saucer& shipOnSaucer(Arena& a) {
    a.start();
    a.clearField();
    launchSaucer(a.world.saucers.data(), &a.client, &a.ship());
    Saucer& s = a.world.saucers[0];
    s.update(&a.client);
    s.bullet.setActive(false);
    a.moveShip(s.getPosition());
    a.ship().invincibleTimer = 1000;
    return s;
}

TEST(ContactSaucer, BulletShootsItDown) {
    Arena a;
    Saucer& s = shipOnSaucer(a);
    a.game().score = 10;
    a.ship().fire();
    a.ship().fire();
    a.collide();
    EXPECT_FALSE(s.isActive());
    EXPECT_EQ(a.game().score, 110);
    EXPECT_FALSE(a.ship().bullet(0).isActive());
    EXPECT_TRUE(a.ship().bullet(1).isActive());  // nothing left to hit
}

TEST(ContactSaucer, MissilesPassThrough) {
    Arena a;
    Saucer& s = shipOnSaucer(a);
    a.placeSmall(15, Vec2(20.0, 20.0));  // something for the missile to chase
    a.ship().fireMissile(a.world.asteroids.data());
    ASSERT_TRUE(a.ship().missile(0).isActive());
    a.collide();
    EXPECT_TRUE(s.isActive());
    EXPECT_EQ(a.game().score, 0);
}

TEST(ContactPickUp, CollectedWhileTheShipIsDown) {
    Arena a;
    setUp(a);
    a.ship().die();
    a.world.powerUp.spawn(a.ship().getPosition(), Vec2());
    a.collide();
    EXPECT_FALSE(a.world.powerUp.isActive());
}

TEST(ContactPickUp, CapsuleAwayFromTheHullStays) {
    Arena a;
    setUp(a);
    a.world.powerUp.spawn(Vec2(600.0, 500.0), Vec2());
    a.collide();
    EXPECT_TRUE(a.world.powerUp.isActive());
}

}  // namespace
}  // namespace kolvane
