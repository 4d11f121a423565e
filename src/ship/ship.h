#pragma once
// The player's craft: an arrowhead hull that flies with inertia, turns in
// 4-degree steps, is limited to 7 pixels a tick and wraps at the edges. It
// owns ten bullets and ten missiles, its lives, its missile stock, a
// temporary-invincibility timer and the state of a teleport in progress.
#include <array>

#include "gfx/region.h"
#include "gfx/surface.h"
#include "world/asteroid.h"
#include "world/bullet.h"
#include "world/missile.h"
#include "world/space_object.h"

namespace kolvane {

class Ship : public SpaceObject {
public:
    static constexpr int kSlots = 10;
    static constexpr double kMaxSpeed = 7.0;
    static constexpr float kForwardThrust = 0.04f;
    static constexpr float kReverseThrust = -0.03f;

    Ship();
    Ship(const Ship&) = delete;
    Ship& operator=(const Ship&) = delete;

    // Body, motion and controls.
    void respawn(Rect client);
    void update(const Rect* client) override;
    void draw(gfx::Surface& surface) override;
    void turnLeft();
    void turnRight();
    void thrust(float amount);
    void brake();
    void die();
    void addLife() { ++lives; }
    void addMissiles(std::int32_t n) { missileCount += n; }
    std::int32_t getLives() const { return lives; }
    std::int32_t getMissileCount() const { return missileCount; }
    const gfx::Region& getRegion() const { return region; }

    // Weapons.
    void fire();
    void superbullet();
    void spreadfire();
    void fireMissile(Asteroid* asteroids);
    void missileburst(Asteroid* asteroids);
    void repulse(Asteroid* asteroids);
    void teleport(Vec2 target);

    // Projectile access for the collision pass: copies, and switching off.
    Bullet getBullet(int i) const { return bullets[i]; }
    Missile getMissile(int i) const { return missiles[i]; }
    void deactivateBullet(int i) { bullets[i].setActive(false); }
    void deactivateMissile(int i) { missiles[i].setActive(false); }

    // Read directly by the rules and the collision pass.
    std::array<Point, 4> outline{};
    std::int32_t invincibleTimer = 0;
    std::int32_t teleportCharge = 0;
    std::int32_t teleportCooldown = 0;

    // For traces and tests.
    const Bullet& bullet(int i) const { return bullets[i]; }
    const Missile& missile(int i) const { return missiles[i]; }
    Vec2 getTeleportTarget() const { return teleportTarget; }

private:
    void computeOutline();

    std::int32_t missileCount = 0;
    std::int32_t lives = 0;
    std::array<Bullet, kSlots> bullets{};
    std::array<Missile, kSlots> missiles{};
    gfx::Region region;
    // The shield's pale blue.
    gfx::Brush shieldBrush = gfx::createSolidBrush(gfx::Color::fromColorref(0xFFBBBB));
    // The last accepted teleport target. It lives as long as the ship, which is
    // the whole process, so a new game does not reset it.
    Vec2 teleportTarget;
};

}  // namespace kolvane
