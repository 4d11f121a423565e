#include "world/saucer.h"

#include "gfx/surface.h"

namespace kolvane {

namespace {

constexpr double kSpeed = 2.0;
constexpr std::int32_t kShotLifetime = Bullet::kEnemyLifetime;

// Hexagon corners about the centre: 40 pixels wide, 12 high, pointed left and right.
constexpr Point kHexagon[] = {{-10, -6}, {10, -6}, {20, 0}, {10, 6}, {-10, 6}, {-20, 0}};

}  // namespace

void Saucer::launch(const Rect* client, const SpaceObject* aim) {
    const Rect& c = *client;
    if (randomInt(1, 100) % 2 != 0) {
        position = Vec2(c.left + randomInt(0, c.right - c.left), c.top);
    } else {
        position = Vec2(c.left, c.top + randomInt(0, c.bottom - c.top));
    }
    // The previous flight's velocity decides whether the entry moves to the
    // opposite edge; a slot's first launch still has (0, 0).
    if (velocity.x < 0.0f && double{position.x} == c.left) {
        position = Vec2(c.right, position.y);
    } else if (velocity.y < 0.0f && double{position.y} == c.top) {
        position = Vec2(position.x, c.bottom);
    }
    velocity = Vec2(c.right / 2.0, c.bottom / 2.0) - position;
    velocity.rotate(randomInt(1, 50) - 25);
    velocity.setLength(kSpeed);
    bullet.setActive(false);  // the slot's previous shot vanishes
    target = aim;
    active = true;
}

void Saucer::update(const Rect* client) {
    if (active) {
        position += velocity;  // never wraps
        const double x = position.x;
        const double y = position.y;
        for (int i = 0; i < 6; ++i) {
            outline[i] = {truncate(x + kHexagon[i].x), truncate(y + kHexagon[i].y)};
        }
        // Beyond an edge the saucer stays in play, unseen, while its shot flies.
        const Rect& c = *client;
        if ((x < c.left || x > c.right || y < c.top || y > c.bottom) && !bullet.isActive()) {
            active = false;
        }
        region = gfx::Region(outline.data(), 6);
        bounds = region.box();
    }
    if (!bullet.isActive()) shoot();
    bullet.update(client);
    missile.update(client);
}

void Saucer::draw(gfx::Surface& surface) {
    if (active) surface.fillRegion(region, gfx::kGrayBrush);
    if (bullet.isActive()) bullet.draw(surface);
    if (missile.isActive()) missile.draw(surface);
}

// Aims at where the target is now, with no lead, live or not.
void Saucer::shoot() {
    if (!active || target == nullptr) return;
    const Vec2 to = target->getPosition() - position;
    bullet.fire(to, position, kShotSpeed, kShotLifetime);
}

void launchSaucer(Saucer* saucers, const Rect* client, const SpaceObject* target, int count) {
    for (int i = 0; i < count; ++i) {
        if (!saucers[i].isActive()) {
            saucers[i].launch(client, target);
            return;
        }
    }
}

}  // namespace kolvane
