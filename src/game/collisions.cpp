#include "game/collisions.h"

#include "core/platform.h"
#include "core/random.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

constexpr std::int32_t kLargePoints = 25;
constexpr std::int32_t kSmallPoints = 50;
constexpr std::int32_t kSaucerPoints = 100;
constexpr int kFragments = 4;
constexpr std::int32_t kCapsuleInvincibility = 500;
constexpr std::int32_t kCapsuleMissiles = 10;

enum class Projectile { kBullet, kMissile };

void shipDies(GameWorld& world) {
    world.game.messageAge = 0;
    world.game.setMessage("Dead");
    world.game.targetingAids = false;
    world.ship.die();
}

// A projectile is tested where it is and where its next move takes it, so a
// fast shot cannot step over a small rock.
bool strikes(const Asteroid& asteroid, Point now, Vec2 position, Vec2 velocity) {
    if (asteroid.contains(now.x, now.y)) return true;
    const Point ahead = (position + velocity).toPoint();
    return asteroid.contains(ahead.x, ahead.y);
}

void dropCapsule(GameWorld& world, int i) {
    // Drawn for every destroyed asteroid, whether or not a capsule can appear.
    const std::int32_t d = randomInt(0, 11);
    if (d != 0 || world.powerUp.isActive()) return;
    const std::int32_t a = randomInt(1, 3);
    const std::int32_t b = randomInt(1, 3);
    const Vec2 drift = Vec2((b - 2) / 3.0, a - 2) / 3.0;
    world.powerUp.spawn(world.asteroids[i].getPosition(), drift);
}

void destroyAsteroid(GameWorld& world, MessageBoxes& boxes, const Rect* client, int i,
                     Projectile projectile, int j) {
    GameState& game = world.game;
    Asteroid& asteroid = world.asteroids[i];
    game.asteroidsLeft -= 1;
    asteroid.setActive(false);
    if (projectile == Projectile::kBullet) {
        world.ship.deactivateBullet(j);
    } else {
        world.ship.deactivateMissile(j);
    }

    if (asteroid.getSize() == Asteroid::kLarge) {
        const auto speed = static_cast<float>(game.level / 4.0);
        for (int k = 0; k < kFragments; ++k) {
            // The first fragment may take slot i itself, so its position is
            // read again each time.
            const Vec2 at = asteroid.getPosition();
            const int slot = findFreeAsteroid(world.asteroids.data());
            if (slot < 0) continue;  // cannot happen with four large rocks a level
            world.asteroids[slot].spawn(client, Asteroid::kSmall, speed, at, boxes);
        }
        game.score += kLargePoints;
    } else if (asteroid.getSize() == Asteroid::kSmall) {
        game.score += kSmallPoints;
    }
    dropCapsule(world, i);
}

// Stage 1: the hull, then bullet j and missile j for every slot j, against
// asteroid i. A fragment that lands in slot i meets the remaining projectiles.
void resolveAsteroid(GameWorld& world, MessageBoxes& boxes, const Rect* client, int i) {
    Ship& ship = world.ship;
    const Asteroid& asteroid = world.asteroids[i];
    for (const Point& p : ship.outline) {
        if (asteroid.isActive() && ship.invincibleTimer == 0 && ship.teleportCharge == 0 &&
            ship.isActive() && asteroid.contains(p.x, p.y)) {
            shipDies(world);
        }
    }
    for (int j = 0; j < Ship::kSlots; ++j) {
        // A bullet's point is worked out on a copy, taken only when there is
        // something to test; a missile is only read, so it is read in place.
        if (ship.bullet(j).isActive() && ship.isActive() && asteroid.isActive()) {
            Bullet bullet = ship.getBullet(j);
            if (strikes(asteroid, bullet.getPoint(), bullet.getPosition(), bullet.getVelocity())) {
                destroyAsteroid(world, boxes, client, i, Projectile::kBullet, j);
            }
        }
        const Missile& missile = ship.missile(j);
        if (missile.isActive() && ship.isActive() && asteroid.isActive() &&
            strikes(asteroid, missile.pixelPosition(), missile.getPosition(),
                    missile.getVelocity())) {
            destroyAsteroid(world, boxes, client, i, Projectile::kMissile, j);
        }
    }
}

// Stage 2. A shot whose saucer is gone is never tested.
void resolveSaucerShots(GameWorld& world) {
    Ship& ship = world.ship;
    for (Saucer& saucer : world.saucers) {
        const Vec2 shot = saucer.bullet.getPosition();
        Rect square;
        square.left = truncate(shot.getX() - 1.0);
        square.top = truncate(shot.getY() - 1.0);
        square.right = square.left + 2;
        square.bottom = square.top + 2;
        if (saucer.isActive() && ship.isActive() && ship.teleportCharge == 0 &&
            ship.invincibleTimer == 0 && saucer.bullet.isActive() &&
            ship.getRegion().intersects(square)) {
            saucer.bullet.setActive(false);
            shipDies(world);
        }
    }
}

// Stage 3. A bullet is spent on the first saucer it hits.
void resolveSaucerHits(GameWorld& world) {
    Ship& ship = world.ship;
    for (int j = 0; j < Ship::kSlots; ++j) {
        for (Saucer& saucer : world.saucers) {
            Bullet bullet = ship.getBullet(j);
            if (bullet.isActive() && ship.isActive() && saucer.isActive() &&
                ptInRect(saucer.getBounds(), bullet.getPoint())) {
                ship.deactivateBullet(j);
                world.game.score += kSaucerPoints;
                saucer.setActive(false);
            }
        }
    }
}

// Only the two missile weapons turn a repeat into ten missiles.
void applyCapsule(GameWorld& world, std::int32_t effect) {
    GameState& game = world.game;
    Ship& ship = world.ship;
    switch (effect) {
        case 1:
            game.special = kSpreadfire;
            game.setMessage("Special: changed to Spreadfire");
            break;
        case 2:
            if (game.special != kMissiles) {
                game.special = kMissiles;
                game.setMessage("Special: changed to Missile");
            } else {
                ship.addMissiles(kCapsuleMissiles);
                game.setMessage("Got 10 missiles");
            }
            break;
        case 3:
            if (game.special != kMissileburst) {
                game.special = kMissileburst;
                game.setMessage("Special: changed to Missileburst");
            } else {
                ship.addMissiles(kCapsuleMissiles);
                game.setMessage("Got 10 missiles");
            }
            break;
        case 4:
            game.special = kTeleport;
            game.setMessage("Special: changed to Teleport");
            break;
        case 5:
            game.special = kSuperbullet;
            game.setMessage("Special: changed to Superbullet");
            break;
        case 6:
            ship.invincibleTimer = kCapsuleInvincibility;
            game.setMessage("Temporary invincibility");
            break;
        case 7:
            ship.addMissiles(kCapsuleMissiles);
            game.setMessage("Got 10 missiles");
            break;
        case 8:
            ship.addLife();
            game.setMessage("Extra life!");
            break;
        case 9:
            game.targetingAids = true;
            game.setMessage("Got targeting aids");
            break;
        case 10:
            game.special = kRepulsor;
            game.setMessage("Special: changed to Repulsor");
            break;
        default:
            break;
    }
}

// Stage 4. The hull region stays where the ship last was while it is down,
// so a capsule drifting there is still collected.
void resolvePickUp(GameWorld& world) {
    if (world.ship.getRegion().intersects(world.powerUp.getBounds()) && world.powerUp.isActive()) {
        applyCapsule(world, randomInt(1, 10));
        world.powerUp.setActive(false);
    }
}

}  // namespace

void resolveCollisions(GameWorld& world, MessageBoxes& boxes, const Rect* client) {
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        resolveAsteroid(world, boxes, client, i);
        // Checked after every slot; the pass goes on regardless.
        if (world.ship.getLives() <= 0) world.game.running = false;
    }
    resolveSaucerShots(world);
    resolveSaucerHits(world);
    resolvePickUp(world);
}

}  // namespace kolvane
