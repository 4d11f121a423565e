#include "ship_icon.h"

#include <cmath>

#include "core/geometry.h"
#include "gfx/region.h"

namespace kolvane::icon {

namespace {
constexpr double kPi = 3.141592653;
constexpr double kRearCornerAngle = 120.0;
// The hull spans 1.5 radii from nose to rear and 2 sin(60) radii across;
// this radius leaves about a tenth of the side free all round.
constexpr double kRadiusPerSide = 0.44;
}  // namespace

void hullOutline(std::int32_t size, Point (&outline)[4]) {
    const double radius = kRadiusPerSide * size;
    // The notch sits a quarter radius below the middle, which centres the
    // hull's height (nose at -r, rear corners at +r/2).
    const double cx = size / 2.0;
    const double cy = size / 2.0 + radius / 4.0;
    const double nose = -90.0;  // degrees, y grows downwards
    auto corner = [&](double degrees) {
        const double a = degrees * kPi / 180.0;
        return Point{truncate(cx + radius * std::cos(a)), truncate(cy + radius * std::sin(a))};
    };
    outline[0] = corner(nose);
    outline[1] = corner(nose - kRearCornerAngle);
    outline[2] = Point{truncate(cx), truncate(cy)};
    outline[3] = corner(nose + kRearCornerAngle);
}

gfx::Surface drawIcon(std::int32_t size) {
    gfx::Surface surface;
    surface.newFrame(size, size);  // all black
    Point outline[4];
    hullOutline(size, outline);
    surface.fillRegion(gfx::Region(outline, 4), gfx::kWhiteBrush);
    return surface;
}

}  // namespace kolvane::icon
