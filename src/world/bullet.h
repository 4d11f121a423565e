#pragma once
// A point projectile: flies straight at a fixed speed, wraps at the edges and
// expires after its lifetime. A shot with lifetime 105 (a saucer's) is red.
#include "world/space_object.h"

namespace kolvane {

class Bullet : public SpaceObject {
public:
    static constexpr std::int32_t kEnemyLifetime = 105;

    Bullet();
    Bullet(const Bullet&) = default;
    Bullet& operator=(const Bullet&) = default;
    virtual ~Bullet() = default;

    void draw(gfx::Surface& surface) override;
    void update(const Rect* client) override;
    virtual void fire(Vec2 direction, Vec2 from, std::int32_t speed, std::int32_t lifetime);
    virtual Point getPoint();

    std::int32_t getLifetime() const { return lifetime; }
    std::int32_t getSpeed() const { return speed; }
    std::int32_t getAge() const { return age; }
    Point getStoredPoint() const { return point; }

protected:
    std::int32_t lifetime = 25;
    std::int32_t speed = 20;
    Point point{};
    std::int32_t age = 0;
};

}  // namespace kolvane
