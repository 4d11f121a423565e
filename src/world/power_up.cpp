#include "world/power_up.h"

#include "gfx/surface.h"

namespace kolvane {

namespace {

constexpr std::int32_t kBlinkPeriod = 50;
constexpr double kHalfSize = 10.0;
constexpr std::int32_t kSize = 20;

}  // namespace

// The caller's speed stays; only the direction is drawn at random.
void PowerUp::spawn(Vec2 at, Vec2 drift) {
    active = true;
    position = at;
    velocity = drift;
    age = 0;
    velocity.rotate(randomInt(0, 720) - 360);
    updateBounds();
}

void PowerUp::update(const Rect* client) {
    if (!active) return;
    position += velocity;
    position.wrap(*client);
    updateBounds();
    ++age;
    if (age >= kLifetime) active = false;
}

// A white disc with a black "?", missing on every age that is a multiple of 50.
void PowerUp::draw(gfx::Surface& surface) {
    if (!active || age % kBlinkPeriod == 0) return;
    const double x = position.x;
    const double y = position.y;
    surface.ellipse(truncate(x - kHalfSize), truncate(y - kHalfSize), truncate(x + kHalfSize),
                    truncate(y + kHalfSize));
    surface.setTextColor(gfx::kBlack);
    surface.textOut(truncate(x - 4.0), truncate(y - 7.0), "?", 1);
}

// Not wrapped: near an edge the square may reach outside the client area.
void PowerUp::updateBounds() {
    bounds.left = truncate(position.x - kHalfSize);
    bounds.top = truncate(position.y - kHalfSize);
    bounds.right = bounds.left + kSize;
    bounds.bottom = bounds.top + kSize;
}

}  // namespace kolvane
