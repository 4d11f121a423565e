#include "ship/ship.h"

#include <cmath>

namespace kolvane {

namespace {
constexpr double kHullRadius = 10.0;
constexpr double kRearCornerAngle = 120.0;
constexpr double kTurnStep = 4.0;
constexpr double kBrakeFactor = 0.1;
constexpr double kStopSpeed = 0.1;
constexpr std::int32_t kStartLives = 3;
constexpr std::int32_t kMissileStock = 10;
constexpr std::int32_t kRespawnShield = 100;
// The shield disc keeps full size until the timer falls below this many frames.
constexpr std::int32_t kShieldFullFrames = 32;
constexpr std::int32_t kShieldRadius = 16;
}  // namespace

Ship::Ship() {
    position = Vec2(5.0, 5.0);
    heading = Vec2(10.0, 0.0);
    velocity = Vec2();
    lives = 0;
    active = false;
    invincibleTimer = 0;
    teleportCharge = 0;
}

// Nose, rear corner at -120 degrees, the centre (the notch), rear corner at
// +120 degrees; every coordinate truncated toward zero.
void Ship::computeOutline() {
    const double theta = heading.angle();
    const double px = position.x;
    const double py = position.y;
    const double back = Vec2::toRadians(theta - kRearCornerAngle);
    const double front = Vec2::toRadians(theta + kRearCornerAngle);
    outline[0] = {truncate(px + heading.x), truncate(py + heading.y)};
    outline[1] = {truncate(px + kHullRadius * std::cos(back)),
                  truncate(py + kHullRadius * std::sin(back))};
    outline[2] = {truncate(px), truncate(py)};
    outline[3] = {truncate(px + kHullRadius * std::cos(front)),
                  truncate(py + kHullRadius * std::sin(front))};
}

void Ship::respawn(Rect client) {
    // The centre in whole pixels: the integer halves, then converted.
    const std::int32_t centreX = (client.right - client.left) / 2;
    const std::int32_t centreY = (client.bottom - client.top) / 2;
    position = Vec2(centreX, centreY);
    heading = Vec2(0.0, -10.0);
    velocity = Vec2();
    // The region follows at the next update.
    computeOutline();
    // The first respawn of a game gives three lives; after a death the rest stay.
    if (lives <= 0) lives = kStartLives;
    for (int i = 0; i < kSlots; ++i) {
        bullets[i].setActive(false);
        missiles[i].setActive(false);
    }
    active = true;
    invincibleTimer = kRespawnShield;
    teleportCharge = 0;
    missileCount = kMissileStock;
}

void Ship::update(const Rect* client) {
    // A dead ship freezes everything it owns, the teleport cooldown included.
    if (!active) return;

    position += velocity;
    position.wrap(*client);
    // The clamp follows the move, so this tick's thrust is used once in full.
    if (velocity.length() > kMaxSpeed) velocity.setLength(kMaxSpeed);

    for (int i = 0; i < kSlots; ++i) {
        if (bullets[i].isActive()) bullets[i].update(client);
        if (missiles[i].isActive()) missiles[i].update(client);
    }

    computeOutline();
    region = gfx::Region(outline.data(), static_cast<int>(outline.size()));

    if (teleportCharge > 0 && teleportCooldown <= 0) {
        teleport(Vec2());  // one more step toward the remembered target
    } else if (teleportCooldown > 0) {
        --teleportCooldown;
    }
}

void Ship::draw(gfx::Surface& surface) {
    if (invincibleTimer > 0) {
        // The shield counts painted frames, not ticks.
        --invincibleTimer;
        const gfx::Brush savedObject = surface.selectBrush(shieldBrush);
        const std::int32_t r =
            invincibleTimer >= kShieldFullFrames ? kShieldRadius : invincibleTimer / 2;
        const double x = position.x;
        const double y = position.y;
        surface.ellipse(truncate(x - r), truncate(y - r), truncate(x + r), truncate(y + r));
        surface.selectBrush(savedObject);
    }

    for (int i = 0; i < kSlots; ++i) {
        if (bullets[i].isActive()) bullets[i].draw(surface);
        if (missiles[i].isActive()) missiles[i].draw(surface);
    }

    surface.fillRegion(region, gfx::kWhiteBrush);
    // A charging teleport blinks the hull: black on odd steps.
    if (teleportCharge > 0 && teleportCharge % 2 == 1) {
        surface.fillRegion(region, gfx::kBlackBrush);
    }
}

void Ship::turnLeft() {
    heading.rotate(-kTurnStep);
}

void Ship::turnRight() {
    heading.rotate(kTurnStep);
}

void Ship::thrust(float amount) {
    velocity += heading * amount;
}

void Ship::brake() {
    if (velocity.length() > kStopSpeed) {
        velocity -= velocity * kBrakeFactor;
    } else {
        velocity = Vec2();
    }
}

void Ship::die() {
    active = false;
    lives -= 1;
}

}  // namespace kolvane
