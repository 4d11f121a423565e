#include "ship/ship.h"

namespace kolvane {

namespace {
constexpr int kAsteroidSlots = 16;

constexpr std::int32_t kShotSpeed = 15;
constexpr std::int32_t kShotLifetime = 33;
constexpr std::int32_t kSuperSpeed = 10;
constexpr std::int32_t kSuperLifetime = 1000;

constexpr int kSpreadShots = 5;
constexpr std::int32_t kSpreadSpeed = 10;
constexpr double kSpreadFirstAngle = -10.0;
constexpr double kSpreadStep = 5.0;

constexpr int kBurstPasses = 4;
constexpr int kBurstRemembered = 3;
constexpr double kBurstStep = 60.0;

// Negative: the push points from the ship toward the asteroid.
constexpr double kRepulsePush = -0.2;

constexpr std::int32_t kTeleportSteps = 10;
constexpr std::int32_t kTeleportCooldown = 100;
constexpr std::int32_t kTeleportShield = 75;
}  // namespace

void Ship::fire() {
    if (!active) return;
    for (Bullet& b : bullets) {
        if (!b.isActive()) {
            b.fire(heading, position, kShotSpeed, kShotLifetime);
            return;
        }
    }
}

void Ship::superbullet() {
    if (!active) return;
    for (Bullet& b : bullets) {
        if (!b.isActive()) {
            b.fire(heading, position, kSuperSpeed, kSuperLifetime);
            return;
        }
    }
}

// Five bullets fanned from -10 to +10 degrees into the free slots in index
// order, or none at all when fewer than five slots are free.
void Ship::spreadfire() {
    int activeCount = 0;
    for (const Bullet& b : bullets) {
        if (b.isActive()) ++activeCount;
    }
    if (activeCount > kSlots - kSpreadShots) return;

    Vec2 dir = heading;
    dir.rotate(kSpreadFirstAngle);
    int fired = 0;
    for (Bullet& b : bullets) {
        if (b.isActive()) continue;
        b.fire(dir, position, kSpreadSpeed, kShotLifetime);
        ++fired;
        dir.rotate(kSpreadStep);
        if (fired >= kSpreadShots) return;
    }
}

// One missile from the lowest free slot at the active asteroid with the lowest
// slot index (not the nearest one).
void Ship::fireMissile(Asteroid* asteroids) {
    Missile* slot = nullptr;
    for (Missile& m : missiles) {
        if (!m.isActive()) {
            slot = &m;
            break;
        }
    }
    if (slot == nullptr) return;

    for (int j = 0; j < kAsteroidSlots; ++j) {
        if (asteroids[j].isActive() && missileCount > 0) {
            slot->launch(&asteroids[j], heading, position);
            --missileCount;
            return;
        }
    }
}

// Up to four missiles leaving at 0, 60, 120 and 180 degrees from the heading,
// each at a different active asteroid. The aim turns in every pass, so a pass
// that launches nothing still leaves the next one at its own angle.
void Ship::missileburst(Asteroid* asteroids) {
    Vec2 aim = heading;
    int chosen[kBurstRemembered] = {-1, -1, -1};

    for (int pass = 0; pass < kBurstPasses; ++pass) {
        Missile* slot = nullptr;
        for (Missile& m : missiles) {
            if (!m.isActive()) {
                slot = &m;
                break;
            }
        }
        if (slot != nullptr) {
            for (int j = 0; j < kAsteroidSlots; ++j) {
                bool taken = false;
                for (const int c : chosen) taken = taken || c == j;
                if (!asteroids[j].isActive() || taken || missileCount <= 0) continue;

                slot->launch(&asteroids[j], aim, position);
                --missileCount;
                for (int& c : chosen) {
                    if (c == -1) {
                        c = j;
                        break;
                    }
                }
                break;
            }
        }
        aim.rotate(kBurstStep);
    }
}

// One push of 0.2 pixels a tick away from the ship for every slot, active or
// not, whatever its distance. An asteroid exactly on the ship's centre has no
// direction and is pushed toward the upper left.
void Ship::repulse(Asteroid* asteroids) {
    for (int j = 0; j < kAsteroidSlots; ++j) {
        Vec2 d = position - asteroids[j].getPosition();
        d.setLength(kRepulsePush);
        asteroids[j].addVelocity(d);
    }
}

// One step of a teleport charge. A target with a zero coordinate (the zero
// vector the update passes included) keeps the remembered one.
void Ship::teleport(Vec2 target) {
    if (target.x != 0.0f && target.y != 0.0f) teleportTarget = target;
    ++teleportCharge;
    if (teleportCharge >= kTeleportSteps) {
        position = teleportTarget;
        velocity = Vec2();
        teleportCharge = 0;
        teleportCooldown = kTeleportCooldown;
        invincibleTimer += kTeleportShield;
    }
}

}  // namespace kolvane
