#pragma once
// The base of everything that flies: an active flag, a position, a velocity
// and a heading; it draws itself and advances itself by one tick.
#include "core/geometry.h"
#include "core/random.h"
#include "core/vec2.h"

namespace kolvane {

namespace gfx {
class Surface;
}

class SpaceObject {
public:
    bool isActive() const { return active; }
    void setActive(bool a) { active = a; }

    virtual void draw(gfx::Surface& surface) = 0;
    virtual void update(const Rect* client) = 0;

    Vec2 getPosition() const { return position; }
    Vec2 getVelocity() const { return velocity; }
    Vec2 getHeading() const { return heading; }

    // The same function as the free randomInt; it does not use the object.
    static std::int32_t randomInt(std::int32_t lo, std::int32_t hi) {
        return kolvane::randomInt(lo, hi);
    }

protected:
    SpaceObject() = default;
    SpaceObject(const SpaceObject&) = default;
    SpaceObject& operator=(const SpaceObject&) = default;
    ~SpaceObject() = default;

    bool active = false;
    Vec2 position;
    Vec2 velocity;
    Vec2 heading;
};

}  // namespace kolvane
