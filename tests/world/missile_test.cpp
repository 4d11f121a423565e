#include "world/missile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gfx/surface.h"
#include "world_test_support.h"

namespace kolvane {
namespace {

using testing::Target;

constexpr Rect kWide{0, 0, 100000, 100000};
constexpr gfx::Color kRed(255, 0, 0);

// Sets a missile's flight state by hand.
class TestMissile : public Missile {
public:
    void set(Vec2 at, Vec2 motion, std::int32_t ticks) {
        position = at;
        heading = motion;
        age = ticks;
    }
};

Vec2 direction(double degrees) {
    return Vec2(std::cos(Vec2::toRadians(degrees)), std::sin(Vec2::toRadians(degrees)));
}

TEST(MissileFlight, LaunchStartsAtOnePixelPerTick) {
    const Target idle(Vec2(), false);
    Missile m;
    m.launch(&idle, Vec2(10, 0), Vec2(100, 50));
    EXPECT_TRUE(m.isActive());
    EXPECT_EQ(m.getHeading(), Vec2(1, 0));
    EXPECT_EQ(m.getVelocity(), Vec2(10, 0));
    EXPECT_EQ(m.getTarget(), &idle);

    m.update(&kWide);
    EXPECT_EQ(m.getPosition(), Vec2(101, 50));
    EXPECT_NEAR(m.getHeading().length(), 1.07, 1e-6);
    EXPECT_EQ(m.getVelocity(), Vec2(10, 0));  // never changed in flight
}

TEST(MissileFlight, SpeedCappedAtTwentyAfterUpdate46) {
    const Target idle(Vec2(), false);
    Missile m;
    m.launch(&idle, Vec2(1, 0), Vec2(10, 10));
    for (int i = 1; i <= 45; ++i) m.update(&kWide);
    EXPECT_NEAR(m.getHeading().length(), std::pow(1.07, 45), 1e-3);
    const double before = m.getPosition().x;
    m.update(&kWide);
    EXPECT_NEAR(m.getPosition().x - before, std::pow(1.07, 45), 1e-3);  // used once
    EXPECT_NEAR(m.getHeading().length(), 20.0, 1e-5);
    m.update(&kWide);
    EXPECT_NEAR(m.getHeading().length(), 20.0, 1e-5);
    // With no live target the direction never changes.
    EXPECT_NEAR(m.getHeading().angle(), 0.0, 1e-6);
}

TEST(MissileFlight, BurnsOutInTheHundredthUpdate) {
    const Target idle(Vec2(), false);
    Missile m;
    m.launch(&idle, Vec2(0, 1), Vec2(10, 10));
    for (int i = 1; i <= 99; ++i) m.update(&kWide);
    EXPECT_TRUE(m.isActive());
    m.update(&kWide);
    EXPECT_FALSE(m.isActive());
    EXPECT_NEAR(m.getPosition().y - 10.0, 1387.0, 1.0);
    const Vec2 stopped = m.getPosition();
    m.update(&kWide);
    EXPECT_EQ(m.getPosition(), stopped);
}

TEST(MissileFlight, WrapsAtEdges) {
    const Target idle(Vec2(), false);
    Missile m;
    m.launch(&idle, Vec2(1, 0), Vec2(739.5, 20));
    const Rect client{0, 0, 740, 580};
    m.update(&client);
    EXPECT_EQ(m.getPosition(), Vec2(0.5, 20));
}

// Heading and target direction in degrees; the heading's angle after one update.
double steer(double headingDeg, double targetDeg) {
    const Vec2 from(500, 500);
    const Target target(from + direction(targetDeg) * 10000.0, true);
    Missile m;
    m.launch(&target, direction(headingDeg), from);
    m.update(&kWide);
    return m.getHeading().angle();
}

TEST(MissileSteering, TurnsFiveDegreesTowardTarget) {
    EXPECT_NEAR(steer(10, 0), 5.0, 1e-3);       // diff 10: counterclockwise
    EXPECT_NEAR(steer(0, 178), -5.0, 1e-3);     // diff -178: counterclockwise
    EXPECT_NEAR(steer(260, -80), 265.0, 1e-3);  // diff 340: clockwise
    EXPECT_NEAR(steer(0, 20), 5.0, 1e-3);       // diff -20: clockwise
}

TEST(MissileSteering, ChangeoverAtOneSeventyFive) {
    // Between 175 and 180 degrees away the missile turns the longer way.
    EXPECT_NEAR(steer(177, 0), 182.0, 1e-3);
    EXPECT_NEAR(steer(170, 0), 165.0, 1e-3);
}

TEST(MissileSteering, InactiveTargetKeepsDirection) {
    Target target(Vec2(10000, 545), false);
    Missile m;
    m.launch(&target, Vec2(0, 1), Vec2(500, 500));
    for (int i = 0; i < 20; ++i) m.update(&kWide);
    EXPECT_NEAR(m.getHeading().angle(), 90.0, 1e-6);
    target.setActive(true);  // a new asteroid in the slot: homing resumes
    m.update(&kWide);
    EXPECT_NEAR(m.getHeading().angle(), 85.0, 1e-3);
}

class MissileDraw : public ::testing::Test {
protected:
    MissileDraw() { surface.newFrame(400, 300); }
    gfx::Surface surface{400, 300};
};

TEST_F(MissileDraw, TailGrowsWithAge) {
    const Target idle(Vec2(), false);
    TestMissile m;
    m.launch(&idle, Vec2(1, 0), Vec2());
    m.set(Vec2(100.3, 50.3), Vec2(3, 0), 0);
    m.draw(surface);
    EXPECT_EQ(m.getOutline()[0], (Point{105, 50}));  // nose
    EXPECT_EQ(m.getOutline()[1], (Point{97, 45}));   // wing at -120 degrees
    EXPECT_EQ(m.getOutline()[2], (Point{100, 50}));  // tail on the centre
    EXPECT_EQ(m.getOutline()[3], (Point{97, 54}));   // wing at +120 degrees

    m.set(Vec2(100.3, 50.3), Vec2(3, 0), 13);
    m.draw(surface);
    EXPECT_EQ(m.getOutline()[2], (Point{95, 50}));  // 5 pixels behind
    EXPECT_EQ(surface.pixel(102, 50), gfx::kWhiteBrush.color);
}

TEST_F(MissileDraw, BracketOnlyWhileTargetActive) {
    Target target(Vec2(200.5, 100.5), true);
    Missile m;
    m.launch(&target, Vec2(1, 0), Vec2(20, 20));  // far from the target
    m.draw(surface);
    for (const Point p :
         {Point{215, 115}, Point{215, 114}, Point{214, 115}, Point{212, 115}, Point{215, 112},
          Point{185, 86}, Point{186, 85}, Point{185, 115}, Point{215, 86}}) {
        EXPECT_EQ(surface.pixel(p.x, p.y), kRed) << p.x << "," << p.y;
    }
    EXPECT_EQ(surface.pixel(211, 115), gfx::kBlack);
    EXPECT_EQ(surface.pixel(200, 100), gfx::kBlack);

    target.setActive(false);
    surface.newFrame(400, 300);
    m.draw(surface);
    EXPECT_EQ(surface.pixel(215, 115), gfx::kBlack);
    EXPECT_EQ(surface.pixel(185, 86), gfx::kBlack);
}

TEST_F(MissileDraw, OriginalDrawsAfterCopyIsDestroyed) {
    const Target idle(Vec2(), false);
    Missile original;
    original.launch(&idle, Vec2(0, 1), Vec2(60.5, 60.5));
    original.draw(surface);
    const Point nose = original.getOutline()[0];
    {
        Missile copy = original;
        EXPECT_EQ(copy.getTarget(), &idle);
        EXPECT_EQ(copy.getOutline(), original.getOutline());
        EXPECT_TRUE(copy.getRegion().contains(60, 61));
        copy.update(&kWide);
        copy.draw(surface);
    }
    EXPECT_EQ(original.getOutline()[0], nose);
    EXPECT_EQ(original.getAge(), 0);
    EXPECT_TRUE(original.getRegion().contains(60, 61));
    surface.newFrame(400, 300);
    original.draw(surface);
    EXPECT_EQ(surface.pixel(60, 61), gfx::kWhiteBrush.color);
}

TEST(MissilePoint, PixelPositionTruncates) {
    TestMissile m;
    m.set(Vec2(12.9, -0.7), Vec2(1, 0), 0);
    EXPECT_EQ(m.pixelPosition(), (Point{12, 0}));
    EXPECT_EQ(m.getStoredPoint(), (Point{0, 0}));  // stores nothing
}

}  // namespace
}  // namespace kolvane
