#pragma once
// The enemy craft: a grey hexagon that enters from an edge, crosses the field
// at 2 pixels a tick and fires at its target whenever its shot is idle. It
// never wraps; it leaves once it is beyond an edge with no shot in flight.
#include <array>

#include "gfx/region.h"
#include "world/bullet.h"
#include "world/missile.h"
#include "world/space_object.h"

namespace kolvane {

class Saucer : public SpaceObject {
public:
    static constexpr std::int32_t kShotSpeed = 3;

    Saucer() = default;
    Saucer(const Saucer&) = delete;
    Saucer& operator=(const Saucer&) = delete;
    virtual ~Saucer() = default;

    void launch(const Rect* client, const SpaceObject* target);
    void draw(gfx::Surface& surface) override;
    void update(const Rect* client) override;
    void shoot();

    Bullet bullet;
    Missile missile;  // carried, drawn and updated, never launched

    const Rect& getBounds() const { return bounds; }
    const std::array<Point, 6>& getOutline() const { return outline; }
    const gfx::Region& getRegion() const { return region; }
    const SpaceObject* getTarget() const { return target; }

private:
    gfx::Region region;
    Rect bounds{};
    std::array<Point, 6> outline{};
    const SpaceObject* target = nullptr;
};

// Launches the first inactive saucer of the five at `target`; none when all are busy.
void launchSaucer(Saucer* saucers, const Rect* client, const SpaceObject* target, int count = 5);

}  // namespace kolvane
