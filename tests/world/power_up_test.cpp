#include "world/power_up.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gfx/surface.h"
#include "support/fake_platform.h"
#include "support/seeded.h"

namespace kolvane {
namespace {

using testing::FakePlatform;
using testing::Seeded;

constexpr Rect kClient{0, 0, 740, 580};

// Sets the drift by hand after a spawn has randomised it.
class TestPowerUp : public PowerUp {
public:
    void setDrift(Vec2 v) { velocity = v; }
};

class PowerUpTest : public ::testing::Test {
protected:
    FakePlatform clock;
    Seeded seeded{clock};
};

TEST_F(PowerUpTest, BoundsTruncateTowardZero) {
    PowerUp p;
    p.spawn(Vec2(100.7, 50.2), Vec2());
    EXPECT_EQ(p.getBounds(), (Rect{90, 40, 110, 60}));
    p.spawn(Vec2(5.5, 50.2), Vec2());
    EXPECT_EQ(p.getBounds().left, -4);
    EXPECT_EQ(p.getBounds().right, 16);
}

TEST_F(PowerUpTest, SpawnKeepsSpeedAndTurnsWholeDegrees) {
    for (int i = 0; i < 20; ++i) {
        PowerUp p;
        p.spawn(Vec2(300, 300), Vec2(1.0 / 3.0, 0));
        const Vec2 v = p.getVelocity();
        EXPECT_NEAR(v.length(), 1.0 / 3.0, 1e-6);
        const double a = v.angle();
        EXPECT_NEAR(a, std::round(a), 1e-3);
        EXPECT_TRUE(p.isActive());
        EXPECT_EQ(p.getAge(), 0);
    }
}

TEST_F(PowerUpTest, ZeroDriftStaysPut) {
    PowerUp p;
    p.spawn(Vec2(300.5, 200.5), Vec2());
    for (int i = 0; i < 10; ++i) p.update(&kClient);
    EXPECT_FLOAT_EQ(p.getPosition().x, 300.5f);
    EXPECT_FLOAT_EQ(p.getPosition().y, 200.5f);
}

TEST_F(PowerUpTest, ExpiresInTheUpdateThatReaches750) {
    PowerUp p;
    p.spawn(Vec2(300, 200), Vec2());
    for (int i = 1; i <= 749; ++i) p.update(&kClient);
    EXPECT_TRUE(p.isActive());
    EXPECT_EQ(p.getAge(), 749);
    p.update(&kClient);
    EXPECT_FALSE(p.isActive());
    p.update(&kClient);
    EXPECT_EQ(p.getAge(), 750);
}

TEST_F(PowerUpTest, WrapsAndBoundsFollow) {
    TestPowerUp p;
    p.spawn(Vec2(738, 100), Vec2());
    p.setDrift(Vec2(5, 0));
    p.update(&kClient);
    EXPECT_FLOAT_EQ(p.getPosition().x, 3.0f);
    EXPECT_EQ(p.getBounds(), (Rect{-7, 90, 13, 110}));
}

TEST_F(PowerUpTest, BlinksOutOnMultiplesOfFifty) {
    PowerUp p;
    p.spawn(Vec2(100.5, 100.5), Vec2());
    gfx::Surface surface(200, 200);
    // Inside the disc, clear of the "?".
    const auto drawn = [&] {
        surface.newFrame(200, 200);
        p.draw(surface);
        return surface.pixel(93, 100) == gfx::kWhite;
    };
    EXPECT_FALSE(drawn());  // age 0, the frame right after the spawn
    int updates = 0;
    while (p.isActive()) {
        p.update(&kClient);
        ++updates;
        const int age = p.getAge();
        if (!p.isActive()) break;
        ASSERT_EQ(drawn(), age % 50 != 0) << "age " << age;
    }
    EXPECT_EQ(updates, 750);
    EXPECT_FALSE(drawn());
}

TEST_F(PowerUpTest, DrawsWhiteDiscWithBlackRimAndMark) {
    PowerUp p;
    p.spawn(Vec2(100.5, 100.5), Vec2());
    p.update(&kClient);
    gfx::Surface surface(200, 200);
    surface.newFrame(200, 200);
    p.draw(surface);
    EXPECT_EQ(surface.pixel(93, 100), gfx::kWhite);
    EXPECT_EQ(surface.textColor(), gfx::kBlack);
    EXPECT_EQ(surface.pixel(111, 100), gfx::kBlack);  // outside the disc
    bool mark = false;                                // some black pixel of the "?" inside the disc
    for (int y = 94; y < 106; ++y) {
        for (int x = 97; x < 104; ++x) mark = mark || surface.pixel(x, y) == gfx::kBlack;
    }
    EXPECT_TRUE(mark);
}

}  // namespace
}  // namespace kolvane
