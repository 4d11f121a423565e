#include "world/asteroid.h"

#include "core/platform.h"
#include "gfx/surface.h"

namespace kolvane {

Asteroid::Asteroid() {
    velocity = Vec2(1.0, 1.0);
    velocity.setLength(2.0);
    position = Vec2(50.0, 20.0);
    heading = Vec2(30.0, 10.0);
}

void Asteroid::spawn(const Rect* client, std::int32_t s, float speed, Vec2 at,
                     MessageBoxes& boxes) {
    // The y component is drawn first.
    const std::int32_t dy = randomInt(0, 9);
    const std::int32_t dx = randomInt(0, 9);
    velocity = Vec2(dx - 5, dy - 5);
    heading = Vec2(30.0, 10.0);
    velocity.setLength(speed);
    size = s;

    if (s == kLarge) {
        // A large rock enters on the top or the left edge, ignoring `at`, and
        // is moved to the opposite edge when it would start by flying off.
        const Rect& c = *client;
        if (randomInt(1, 100) % 2 != 0) {
            position = Vec2(c.left + randomInt(0, c.right - c.left), c.top);
        } else {
            position = Vec2(c.left, c.top + randomInt(0, c.bottom - c.top));
        }
        if (velocity.x < 0.0f && double{position.x} == c.left)
            position.x = static_cast<float>(c.right);
        if (velocity.y < 0.0f && double{position.y} == c.top)
            position.y = static_cast<float>(c.bottom);
    } else if (s == kSmall) {
        position = at;
    } else {
        boxes.messageBox("Foo", "Bar");
        position = Vec2();
        velocity = Vec2();
    }

    const std::int32_t base = randomInt(2, 4);
    for (std::int32_t& r : radius) r = base + randomInt(1, 2) - 1;
    rebuildOutline();
    spin = randomInt(1, 10);
    active = true;
}

void Asteroid::update(const Rect* client) {
    position += velocity;
    position.wrap(*client);
    heading.rotate(spin / 10.0 - 0.5);
    rebuildOutline();
}

void Asteroid::draw(gfx::Surface& surface) {
    surface.moveTo(outline[0].x, outline[0].y);
    for (const Point& p : outline) surface.lineTo(p.x, p.y);
    surface.lineTo(outline[0].x, outline[0].y);
    surface.fillRegion(region, gfx::kLtGrayBrush);
}

// Each corner starts as a copy of the position vector, so the outline also
// turns with the centre's direction from the client origin: the position
// stretched to the corner's radius, then turned by 36 degrees a corner plus
// the heading. The stretched vector's length and direction depend only on
// the radius, which takes at most two values, so they are worked out once
// for each value rather than once for each corner.
void Asteroid::rebuildOutline() {
    const float a = static_cast<float>(heading.angle());
    struct Stretched {
        std::int32_t radius;
        double length;
        double angle;
    };
    std::array<Stretched, kCorners> known{};
    int knownCount = 0;
    for (int i = 0; i < kCorners; ++i) {
        int k = 0;
        while (k < knownCount && known[k].radius != radius[i]) ++k;
        if (k == knownCount) {
            Vec2 stretched = position;
            stretched.setLength(radius[i] * size);
            known[knownCount++] = {radius[i], stretched.length(), stretched.angle()};
        }
        // What rotate(36 * i + a) makes of the stretched vector.
        Vec2 v = Vec2::polar(known[k].length, known[k].angle + (36.0 * i + a));
        v += position;
        vertices[i] = v;
        outline[i] = v.toPoint();
    }
    region = gfx::Region(outline.data(), kCorners);
}

int findFreeAsteroid(const Asteroid* asteroids, int count) {
    for (int i = 0; i < count; ++i) {
        if (!asteroids[i].isActive()) return i;
    }
    return -1;
}

}  // namespace kolvane
