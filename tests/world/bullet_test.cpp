#include "world/bullet.h"

#include <gtest/gtest.h>

#include "gfx/surface.h"

namespace kolvane {
namespace {

constexpr Rect kClient{0, 0, 740, 580};
constexpr gfx::Color kRed(255, 0, 0);
constexpr gfx::Color kGreen(0, 255, 0);
constexpr gfx::Color kYellow(255, 255, 0);

// Places a bullet by hand.
class TestBullet : public Bullet {
public:
    void place(Vec2 at, Vec2 step) {
        position = at;
        velocity = step;
    }
};

TEST(BulletLifetime, PrimaryShotLivesThirtyThreeUpdates) {
    Bullet b;
    b.fire(Vec2(3, 0), Vec2(100, 50), 15, 33);
    EXPECT_EQ(b.getVelocity(), Vec2(15, 0));
    for (int i = 1; i <= 32; ++i) {
        b.update(&kClient);
        ASSERT_TRUE(b.isActive()) << "update " << i;
    }
    b.update(&kClient);
    EXPECT_FALSE(b.isActive());
    EXPECT_EQ(b.getAge(), 33);
    EXPECT_EQ(b.getPosition(), Vec2(100 + 495, 50));
}

TEST(BulletLifetime, LifetimeOneEndsAfterOneStep) {
    Bullet b;
    b.fire(Vec2(0, 1), Vec2(100, 50), 10, 1);
    b.update(&kClient);
    EXPECT_FALSE(b.isActive());
    EXPECT_EQ(b.getPosition(), Vec2(100, 60));
}

TEST(BulletLifetime, InactiveUpdateChangesNothing) {
    Bullet b;
    b.fire(Vec2(1, 0), Vec2(100, 50), 10, 0);
    b.update(&kClient);  // a lifetime of 0 also ends after the first step
    EXPECT_FALSE(b.isActive());
    b.update(&kClient);
    EXPECT_EQ(b.getAge(), 1);
    EXPECT_EQ(b.getPosition(), Vec2(110, 50));
}

TEST(BulletLifetime, FiringAgainRestarts) {
    Bullet b;
    b.fire(Vec2(1, 0), Vec2(100, 50), 10, 33);
    b.update(&kClient);
    b.fire(Vec2(0, -2), Vec2(7, 8), 3, 105);
    EXPECT_TRUE(b.isActive());
    EXPECT_EQ(b.getAge(), 0);
    EXPECT_EQ(b.getPosition(), Vec2(7, 8));
    EXPECT_EQ(b.getVelocity(), Vec2(0, -3));
    EXPECT_EQ(b.getLifetime(), 105);
    EXPECT_EQ(b.getSpeed(), 3);
}

TEST(BulletLifetime, ZeroDirectionFliesDownRight) {
    Bullet b;
    b.fire(Vec2(), Vec2(100, 50), 3, 105);
    EXPECT_NEAR(b.getVelocity().angle(), 45.0, 1e-4);
    EXPECT_NEAR(b.getVelocity().length(), 3.0, 1e-5);
}

TEST(BulletWrap, RightEdgeContinuesAtLeft) {
    TestBullet b;
    b.fire(Vec2(1, 0), Vec2(), 5, 33);
    b.place(Vec2(738.5, 40), Vec2(5, 0));
    b.update(&kClient);
    EXPECT_EQ(b.getPosition(), Vec2(3.5, 40));
}

TEST(BulletWrap, TopEdgeContinuesNearBottom) {
    TestBullet b;
    b.fire(Vec2(0, -1), Vec2(), 5, 33);
    b.place(Vec2(40, 2), Vec2(0, -5));
    b.update(&kClient);
    EXPECT_EQ(b.getPosition(), Vec2(40, 577));
}

class BulletDraw : public ::testing::Test {
protected:
    BulletDraw() { surface.newFrame(32, 32); }
    gfx::Surface surface{32, 32};
};

TEST_F(BulletDraw, SaucerLifetimeIsRedOthersGreen) {
    for (const int lifetime : {104, 105, 106}) {
        surface.newFrame(32, 32);
        Bullet b;
        b.fire(Vec2(1, 0), Vec2(10.5, 20.5), 3, lifetime);
        b.draw(surface);
        const gfx::Color body = lifetime == 105 ? kRed : kGreen;
        EXPECT_EQ(surface.pixel(11, 21), body) << lifetime;
        EXPECT_EQ(surface.pixel(9, 19), body) << lifetime;
        EXPECT_EQ(surface.pixel(9, 21), body) << lifetime;
        EXPECT_EQ(surface.pixel(11, 19), body) << lifetime;
        EXPECT_EQ(surface.pixel(10, 20), kYellow) << lifetime;
        EXPECT_EQ(surface.pixel(10, 21), gfx::kBlack) << lifetime;
    }
}

TEST_F(BulletDraw, CornersOffsetBeforeTruncation) {
    Bullet b;
    b.fire(Vec2(1, 0), Vec2(0.5, 10.5), 3, 33);
    b.draw(surface);
    // x - 1 = -0.5 truncates to column 0, the centre's column.
    EXPECT_EQ(surface.pixel(0, 9), kGreen);
    EXPECT_EQ(surface.pixel(0, 11), kGreen);
    EXPECT_EQ(surface.pixel(0, 10), kYellow);
    EXPECT_EQ(surface.pixel(1, 9), kGreen);
    EXPECT_EQ(surface.pixel(1, 11), kGreen);
    EXPECT_EQ(surface.pixel(1, 10), gfx::kBlack);
}

TEST(BulletPoint, TruncatesTowardZero) {
    Bullet b;
    b.fire(Vec2(1, 0), Vec2(12.9, -0.7), 3, 33);
    EXPECT_EQ(b.getPoint(), (Point{12, 0}));
    EXPECT_EQ(b.getStoredPoint(), (Point{12, 0}));
}

TEST(BulletCopy, CarriesEveryFieldAndQueriesStayOnTheCopy) {
    Bullet original;
    original.fire(Vec2(0, 1), Vec2(30.5, 40.5), 10, 77);
    original.update(&kClient);
    {
        Bullet copy = original;
        EXPECT_TRUE(copy.isActive());
        EXPECT_EQ(copy.getPosition(), original.getPosition());
        EXPECT_EQ(copy.getVelocity(), original.getVelocity());
        EXPECT_EQ(copy.getAge(), 1);
        EXPECT_EQ(copy.getLifetime(), 77);
        EXPECT_EQ(copy.getSpeed(), 10);
        EXPECT_EQ(copy.getPoint(), (Point{30, 50}));
        copy.update(&kClient);
    }
    EXPECT_EQ(original.getStoredPoint(), (Point{0, 0}));
    EXPECT_EQ(original.getAge(), 1);
    EXPECT_EQ(original.getPosition(), Vec2(30.5, 50.5));
}

}  // namespace
}  // namespace kolvane
