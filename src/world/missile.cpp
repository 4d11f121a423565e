#include "world/missile.h"

#include <cmath>

#include "gfx/surface.h"

namespace kolvane {

namespace {

constexpr double kTurnDegrees = 5.0;
constexpr double kChangeover = 175.0;  // beyond this the missile turns the other way
constexpr double kAcceleration = 1.07;
constexpr double kTopSpeed = 20.0;
constexpr double kDartRadius = 5.0;
constexpr auto kBracketColor = gfx::Color::fromColorref(0x0000FF);  // red

// One corner mark of the lock-on bracket: the corner and three pixels along each side.
constexpr Point kBracket[] = {{15, 15}, {15, 14}, {14, 15}, {15, 13}, {13, 15}, {15, 12}, {12, 15}};

bool isLive(const SpaceObject* target) {
    return target != nullptr && target->isActive();
}

}  // namespace

Missile::Missile() {
    position = Vec2();
}

void Missile::launch(const SpaceObject* aim, Vec2 direction, Vec2 from) {
    position = from;
    heading = direction;
    velocity = direction;  // kept for the collision pass's look-ahead point
    heading.setLength(1.0);
    age = 0;
    active = true;
    target = aim;
}

void Missile::turnClockwise() {
    heading.rotate(kTurnDegrees);
}
void Missile::turnCounterclockwise() {
    heading.rotate(-kTurnDegrees);
}

void Missile::update(const Rect* client) {
    if (!active) return;
    position += heading;
    position.wrap(*client);
    ++age;

    // Steer after the step, so a turn shows in the next one. Without a live
    // target the missile flies straight on.
    if (isLive(target)) {
        const Vec2 to = target->getPosition() - position;
        const double diff = heading.angle() - to.angle();
        if (diff >= 0.0) {
            if (diff <= kChangeover) {
                turnCounterclockwise();
            } else {
                turnClockwise();
            }
        } else if (diff >= -kChangeover) {
            turnClockwise();
        } else {
            turnCounterclockwise();
        }
    }

    const double len = heading.length();
    heading.setLength(len < kTopSpeed ? len * kAcceleration : kTopSpeed);
    if (age >= kBurnOut) active = false;
}

// A white dart (nose, wing, tail, wing) whose tail trails 5 * age / 13 pixels
// behind the centre, and a red bracket around a live target.
void Missile::draw(gfx::Surface& surface) {
    Vec2 d = heading;
    d.setLength(kDartRadius);
    const double theta = d.angle();
    const double px = position.x;
    const double py = position.y;
    const double wing1 = Vec2::toRadians(theta - 120.0);
    const double wing2 = Vec2::toRadians(theta + 120.0);

    outline[0] = {truncate(px + d.x), truncate(py + d.y)};
    outline[1] = {truncate(px + kDartRadius * std::cos(wing1)),
                  truncate(py + kDartRadius * std::sin(wing1))};
    outline[2] = {truncate(px + static_cast<double>(d.x) * -age / 13.0),
                  truncate(py + static_cast<double>(d.y) * -age / 13.0)};
    outline[3] = {truncate(px + kDartRadius * std::cos(wing2)),
                  truncate(py + kDartRadius * std::sin(wing2))};
    region = gfx::Region(outline.data(), 4);
    surface.fillRegion(region, gfx::kWhiteBrush);

    if (!isLive(target)) return;
    const Vec2 t = target->getPosition();
    for (const int sx : {1, -1}) {
        for (const int sy : {1, -1}) {
            for (const Point& o : kBracket) {
                surface.setPixel(truncate(double{t.x} + o.x * sx), truncate(double{t.y} + o.y * sy),
                                 kBracketColor);
            }
        }
    }
}

}  // namespace kolvane
