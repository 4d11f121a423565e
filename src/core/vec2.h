#pragma once
// Two floats. Every operation reads the floats, computes in double and rounds
// to float only when it stores a component.
#include "core/geometry.h"

namespace kolvane {

// The game's own value of pi (nine decimals), used by both angle conversions.
inline constexpr double kPi = 3.141592653;

class Vec2 {
public:
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2() = default;
    constexpr Vec2(double px, double py) : x(static_cast<float>(px)), y(static_cast<float>(py)) {}

    double getX() const { return x; }
    double getY() const { return y; }
    Point toPoint() const { return {truncate(x), truncate(y)}; }

    Vec2& operator+=(const Vec2& v);
    Vec2& operator-=(const Vec2& v);
    Vec2 operator+(const Vec2& v) const;
    Vec2 operator-(const Vec2& v) const;
    Vec2 operator*(double s) const;
    Vec2 operator/(double s) const;  // s == 0 gives an unchanged copy

    void rotate(double degrees);
    // The vector of this length in this direction: rotate's own last step.
    static Vec2 polar(double length, double degrees);
    void setLength(double length);
    void wrap(Rect r);  // folds into [0, width) x [0, height)

    double length() const;
    double angle() const;  // degrees in [-90, 270)

    static double toRadians(double degrees) { return degrees / 180.0 * kPi; }
    static double toDegrees(double radians) { return radians / kPi * 180.0; }

    friend bool operator==(const Vec2&, const Vec2&) = default;
};

}  // namespace kolvane
