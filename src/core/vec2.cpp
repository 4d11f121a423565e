#include "core/vec2.h"

#include <cmath>
#include <cstdint>

namespace kolvane {

Vec2& Vec2::operator+=(const Vec2& v) {
    x = static_cast<float>(double{x} + double{v.x});
    y = static_cast<float>(double{y} + double{v.y});
    return *this;
}

Vec2& Vec2::operator-=(const Vec2& v) {
    x = static_cast<float>(double{x} - double{v.x});
    y = static_cast<float>(double{y} - double{v.y});
    return *this;
}

Vec2 Vec2::operator+(const Vec2& v) const {
    return {double{x} + v.x, double{y} + v.y};
}
Vec2 Vec2::operator-(const Vec2& v) const {
    return {double{x} - v.x, double{y} - v.y};
}
Vec2 Vec2::operator*(double s) const {
    return {x * s, y * s};
}

Vec2 Vec2::operator/(double s) const {
    if (s == 0.0) return *this;
    return {x / s, y / s};
}

double Vec2::length() const {
    return std::sqrt(std::pow(double{x}, 2.0) + std::pow(double{y}, 2.0));
}

double Vec2::angle() const {
    if (x == 0.0f) return y > 0.0f ? 90.0 : -90.0;
    const double a = toDegrees(std::atan(double{y} / double{x}));
    return x > 0.0f ? a : a + 180.0;
}

void Vec2::rotate(double degrees) {
    *this = polar(length(), angle() + degrees);
}

Vec2 Vec2::polar(double length, double degrees) {
    return {std::cos(toRadians(degrees)) * length, std::sin(toRadians(degrees)) * length};
}

void Vec2::setLength(double newLength) {
    double len = length();
    if (len == 0.0) {
        x = 0.001f;
        y = 0.001f;
        len = length();
    }
    const double f = newLength / len;
    x = static_cast<float>(x * f);
    y = static_cast<float>(y * f);
}

namespace {

// Folds one component into [0, size). A zero size (a minimised window) leaves
// the component as it is rather than dividing by zero.
float fold(float v, std::int32_t size) {
    if (size == 0) return v;
    double q = std::trunc(double{v} / size);
    if (v < 0.0f) q -= 1.0;
    const auto product = static_cast<std::int64_t>(q) * size;
    return static_cast<float>(double{v} - static_cast<double>(product));
}

}  // namespace

void Vec2::wrap(Rect r) {
    x = fold(x, r.right - r.left);
    y = fold(y, r.bottom - r.top);
}

}  // namespace kolvane
