#include "core/vec2.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolvane {
namespace {

TEST(Vec2Angle, CoversMinus90To270WithoutNormalising) {
    EXPECT_DOUBLE_EQ(Vec2(0, 0).angle(), -90.0);
    EXPECT_DOUBLE_EQ(Vec2(0, 5).angle(), 90.0);
    EXPECT_DOUBLE_EQ(Vec2(0, -5).angle(), -90.0);
    EXPECT_NEAR(Vec2(-1, 0).angle(), 180.0, 1e-9);
    EXPECT_NEAR(Vec2(-1, -1).angle(), 225.0, 1e-6);
    EXPECT_NEAR(Vec2(1, -1).angle(), -45.0, 1e-6);
    EXPECT_LT(Vec2(-1, -1e-6).angle(), 270.0);
}

TEST(Vec2Angle, UsesTheGamesOwnPi) {
    // 180 degrees converts with 3.141592653, not with the full double pi.
    EXPECT_EQ(Vec2::toRadians(180.0), 3.141592653);
    EXPECT_EQ(Vec2::toDegrees(3.141592653), 180.0);
}

TEST(Vec2Rotate, TurnsClockwiseOnScreenAndKeepsLength) {
    Vec2 v(10, 0);
    v.rotate(90);
    EXPECT_NEAR(v.x, 0.0, 1e-5);
    EXPECT_NEAR(v.y, 10.0, 1e-5);

    Vec2 zero;
    zero.rotate(37);
    EXPECT_EQ(zero, Vec2(0, 0));

    Vec2 w(3, 4);
    for (int i = 0; i < 90; ++i) w.rotate(4);
    EXPECT_NEAR(w.length(), 5.0, 1e-4);
}

TEST(Vec2Rotate, UsesAngleAndLengthTakenBeforeEitherComponentChanges) {
    Vec2 v(0, -10);
    v.rotate(-4);
    const double a = Vec2::toRadians(-94.0);
    EXPECT_EQ(v.x, static_cast<float>(std::cos(a) * 10.0));
    EXPECT_EQ(v.y, static_cast<float>(std::sin(a) * 10.0));
}

TEST(Vec2SetLength, ZeroVectorTakesTheDiagonal) {
    Vec2 v;
    v.setLength(5);
    EXPECT_NEAR(v.x, 3.5355, 1e-4);
    EXPECT_NEAR(v.y, 3.5355, 1e-4);

    Vec2 w(3, 4);
    w.setLength(5);
    EXPECT_NEAR(w.x, 3.0, 1e-6);
    EXPECT_NEAR(w.y, 4.0, 1e-6);

    Vec2 back(3, 4);
    back.setLength(-10);
    EXPECT_NEAR(back.x, -6.0, 1e-5);
    EXPECT_NEAR(back.y, -8.0, 1e-5);
}

TEST(Vec2Arithmetic, DivisionByZeroIsAnUnchangedCopy) {
    const Vec2 v(2.5, -3);
    EXPECT_EQ(v / 0.0, v);
    EXPECT_EQ(v / 2.0, Vec2(1.25, -1.5));
    EXPECT_EQ(v * 2.0, Vec2(5, -6));
    EXPECT_EQ(v + Vec2(1, 1), Vec2(3.5, -2));
    EXPECT_EQ(v - Vec2(1, 1), Vec2(1.5, -4));
    Vec2 u = v;
    (u += Vec2(1, 0)) -= Vec2(0, 1);
    EXPECT_EQ(u, Vec2(3.5, -4));
}

TEST(Vec2Arithmetic, StoresFloatsComputedInDouble) {
    // 1/3 as a float, times 3 computed in double, then stored: not exactly 1.
    const Vec2 third(1.0 / 3.0, 0);
    EXPECT_EQ((third * 3.0).x, static_cast<float>(static_cast<double>(third.x) * 3.0));
}

TEST(Vec2ToPoint, TruncatesTowardZero) {
    EXPECT_EQ(Vec2(-0.5, 0.99).toPoint(), (Point{0, 0}));
    EXPECT_EQ(Vec2(2.9, -2.9).toPoint(), (Point{2, -2}));
}

TEST(Vec2Wrap, FoldsIntoTheClientArea) {
    const Rect client{0, 0, 740, 580};
    Vec2 a(745.5, -10);
    a.wrap(client);
    EXPECT_EQ(a, Vec2(5.5, 570));
    Vec2 b(740, 580);
    b.wrap(client);
    EXPECT_EQ(b, Vec2(0, 0));
    Vec2 c(-740, 0);
    c.wrap(client);
    EXPECT_EQ(c, Vec2(740, 0));  // an exact negative multiple lands on the far edge
    Vec2 d(-1, 300);
    d.wrap(client);
    EXPECT_EQ(d, Vec2(739, 300));
}

TEST(Vec2Wrap, UsesOnlyWidthAndHeight) {
    Vec2 v(110, 60);
    v.wrap(Rect{100, 50, 200, 150});
    EXPECT_EQ(v, Vec2(10, 60));
}

TEST(Vec2Wrap, ZeroSizedAreaLeavesThatComponentAlone) {
    Vec2 v(-12.5, 900);
    v.wrap(Rect{0, 0, 0, 580});
    EXPECT_EQ(v.x, -12.5f);
    EXPECT_EQ(v.y, 320.0f);
    Vec2 w(800, -3);
    w.wrap(Rect{0, 0, 740, 0});
    EXPECT_EQ(w, Vec2(60, -3));
}

}  // namespace
}  // namespace kolvane
