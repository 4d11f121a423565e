#pragma once
// A drifting rock with a jagged ten-cornered outline: large (size 20) or
// small (size 6). Its outline region is its body for every hit test.
#include <array>

#include "gfx/region.h"
#include "world/space_object.h"

namespace kolvane {

class MessageBoxes;

class Asteroid : public SpaceObject {
public:
    static constexpr std::int32_t kLarge = 20;
    static constexpr std::int32_t kSmall = 6;
    static constexpr int kCorners = 10;

    Asteroid();

    // Puts the asteroid into play. A large one picks its own place on the top
    // or left edge; a small one takes `at`. Any other size shows the
    // "Foo" box and leaves the asteroid at rest at (0, 0).
    void spawn(const Rect* client, std::int32_t size, float speed, Vec2 at, MessageBoxes& boxes);
    void draw(gfx::Surface& surface) override;
    void update(const Rect* client) override;

    bool contains(std::int32_t x, std::int32_t y) const { return region.contains(x, y); }
    std::int32_t getSize() const { return size; }
    void addVelocity(Vec2 v) { velocity += v; }

    std::int32_t getSpin() const { return spin; }
    const std::array<std::int32_t, kCorners>& getRadius() const { return radius; }
    const std::array<Point, kCorners>& getOutline() const { return outline; }
    const gfx::Region& getRegion() const { return region; }

private:
    void rebuildOutline();

    std::int32_t size = kLarge;
    std::array<Vec2, kCorners> vertices{};
    std::array<std::int32_t, kCorners> radius{};
    std::int32_t spin = 0;
    gfx::Region region;
    std::array<Point, kCorners> outline{};
};

// The first inactive slot of the sixteen, or -1.
int findFreeAsteroid(const Asteroid* asteroids, int count = 16);

}  // namespace kolvane
