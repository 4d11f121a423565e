#include "world/bullet.h"

#include "gfx/surface.h"

namespace kolvane {

namespace {

constexpr auto kEnemyColor = gfx::Color::fromColorref(0x0000FF);   // red
constexpr auto kPlayerColor = gfx::Color::fromColorref(0x00FF00);  // green
constexpr auto kCentreColor = gfx::Color::fromColorref(0x00FFFF);  // yellow

}  // namespace

Bullet::Bullet() {
    position = Vec2(5.0, 5.0);
}

void Bullet::fire(Vec2 direction, Vec2 from, std::int32_t shotSpeed, std::int32_t shotLifetime) {
    speed = shotSpeed;
    position = from;
    velocity = direction;
    velocity.setLength(speed);
    age = 0;
    lifetime = shotLifetime;
    active = true;
}

void Bullet::update(const Rect* client) {
    if (!active) return;
    position += velocity;
    position.wrap(*client);
    ++age;
    if (age >= lifetime) active = false;
}

// A yellow-centred X; the corners are offset from the float position before
// truncation, not from the truncated centre.
void Bullet::draw(gfx::Surface& surface) {
    const gfx::Color body = lifetime == kEnemyLifetime ? kEnemyColor : kPlayerColor;
    const double x = position.x;
    const double y = position.y;
    surface.setPixel(truncate(x + 1.0), truncate(y + 1.0), body);
    surface.setPixel(truncate(x - 1.0), truncate(y - 1.0), body);
    surface.setPixel(truncate(x - 1.0), truncate(y + 1.0), body);
    surface.setPixel(truncate(x + 1.0), truncate(y - 1.0), body);
    surface.setPixel(truncate(x), truncate(y), kCentreColor);
}

// Returns the value computed rather than reading the stored one back, which
// would wait for the two halves just written.
Point Bullet::getPoint() {
    const Point p = position.toPoint();
    point = p;
    return p;
}

}  // namespace kolvane
