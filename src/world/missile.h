#pragma once
// The player's homing missile: starts slowly, accelerates, turns 5 degrees a
// tick toward its target and burns out after 100 ticks. It holds a pointer to
// its target's slot, so it homes on whatever later fills that slot.
#include <array>

#include "gfx/region.h"
#include "world/bullet.h"

namespace kolvane {

class Missile : public Bullet {
public:
    static constexpr std::int32_t kBurnOut = 100;

    Missile();
    Missile(const Missile&) = default;
    Missile& operator=(const Missile&) = default;
    ~Missile() override = default;

    void draw(gfx::Surface& surface) override;
    void update(const Rect* client) override;

    void launch(const SpaceObject* target, Vec2 direction, Vec2 from);
    void turnClockwise();
    void turnCounterclockwise();
    Point pixelPosition() const { return position.toPoint(); }

    const SpaceObject* getTarget() const { return target; }
    const std::array<Point, 4>& getOutline() const { return outline; }
    const gfx::Region& getRegion() const { return region; }

private:
    std::array<Point, 4> outline{};
    gfx::Region region;
    const SpaceObject* target = nullptr;
};

}  // namespace kolvane
