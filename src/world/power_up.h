#pragma once
// The pick-up capsule: a white disc marked "?" that drifts for 750 ticks and
// blinks out on every age that is a multiple of 50.
#include "world/space_object.h"

namespace kolvane {

class PowerUp : public SpaceObject {
public:
    static constexpr std::int32_t kLifetime = 750;

    PowerUp() = default;
    virtual ~PowerUp() = default;

    void spawn(Vec2 at, Vec2 drift);
    void draw(gfx::Surface& surface) override;
    void update(const Rect* client) override;

    const Rect& getBounds() const { return bounds; }
    std::int32_t getAge() const { return age; }

private:
    void updateBounds();

    Rect bounds{};
    std::int32_t age = 0;
};

}  // namespace kolvane
