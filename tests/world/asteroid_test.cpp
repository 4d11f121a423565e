#include "world/asteroid.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "gfx/surface.h"
#include "support/fake_platform.h"
#include "support/seeded.h"
#include "world_test_support.h"

namespace kolvane {
namespace {

using testing::FakePlatform;
using testing::findSeed;
using testing::Seeded;

constexpr Rect kClient{0, 0, 740, 580};

// Places an asteroid by hand.
class TestAsteroid : public Asteroid {
public:
    void place(Vec2 at, Vec2 drift) {
        position = at;
        velocity = drift;
    }
};

// The draws of a large asteroid's spawn up to its placement, in order.
struct LargeDraws {
    int dy = 0, dx = 0, r = 0, edge = 0;
    static LargeDraws draw(const Rect& c) {
        LargeDraws d;
        d.dy = randomInt(0, 9);
        d.dx = randomInt(0, 9);
        d.r = randomInt(1, 100);
        d.edge = d.r % 2 != 0 ? randomInt(0, c.right - c.left) : randomInt(0, c.bottom - c.top);
        return d;
    }
};

class AsteroidTest : public ::testing::Test {
protected:
    // Spawns a large asteroid from the first seed whose draws satisfy `wanted`.
    template <class Wanted>
    LargeDraws spawnLargeWhere(Asteroid& a, Wanted wanted) {
        Seeded seeded(clock);
        LargeDraws d;
        const std::uint32_t seed = findSeed([&] {
            d = LargeDraws::draw(kClient);
            return wanted(d);
        });
        EXPECT_NE(seed, 0u);
        srand(seed);
        a.spawn(&kClient, Asteroid::kLarge, 2.0f, Vec2(-10, 0), clock);
        return d;
    }

    FakePlatform clock;
};

TEST_F(AsteroidTest, ConstructedInactiveAtRest) {
    const Asteroid a;
    EXPECT_FALSE(a.isActive());
    EXPECT_EQ(a.getPosition(), Vec2(50, 20));
    EXPECT_EQ(a.getHeading(), Vec2(30, 10));
    EXPECT_NEAR(a.getVelocity().length(), 2.0, 1e-6);
    EXPECT_EQ(a.getSize(), Asteroid::kLarge);
    EXPECT_EQ(a.getSpin(), 0);
}

TEST_F(AsteroidTest, SpawnDrawsInOrder) {
    Seeded seeded(clock, 1234);
    const LargeDraws d = LargeDraws::draw(kClient);
    const int base = randomInt(2, 4);
    std::array<int, Asteroid::kCorners> radius{};
    for (int& r : radius) r = base + randomInt(1, 2) - 1;
    const int spin = randomInt(1, 10);

    srand(1234);
    Asteroid a;
    a.spawn(&kClient, Asteroid::kLarge, 1.5f, Vec2(), clock);
    EXPECT_TRUE(a.isActive());
    EXPECT_EQ(a.getRadius(), radius);
    EXPECT_EQ(a.getSpin(), spin);
    const Vec2 v = a.getVelocity();
    EXPECT_NEAR(v.length(), 1.5, 1e-6);
    if (d.dx != 5 || d.dy != 5) {
        // The y velocity is drawn first.
        EXPECT_NEAR(v.angle(), Vec2(d.dx - 5, d.dy - 5).angle(), 1e-4);
    }
}

TEST_F(AsteroidTest, LeftEdgeWithLeftwardDriftMovesToRightEdge) {
    Asteroid a;
    const LargeDraws d = spawnLargeWhere(a, [](const LargeDraws& d) {
        return d.r % 2 == 0 && d.dx < 5 && d.dy >= 5 && d.edge != 0;
    });
    EXPECT_EQ(a.getPosition(), Vec2(kClient.right, d.edge));

    Asteroid b;
    const LargeDraws e = spawnLargeWhere(
        b, [](const LargeDraws& d) { return d.r % 2 == 0 && d.dx >= 5 && d.edge != 0; });
    EXPECT_EQ(b.getPosition(), Vec2(kClient.left, e.edge));
}

TEST_F(AsteroidTest, TopEdgeWithUpwardDriftMovesToBottomEdge) {
    Asteroid a;
    const LargeDraws d = spawnLargeWhere(a, [](const LargeDraws& d) {
        return d.r % 2 != 0 && d.dy < 5 && d.dx >= 5 && d.edge != 0;
    });
    EXPECT_EQ(a.getPosition(), Vec2(d.edge, kClient.bottom));
}

TEST_F(AsteroidTest, TopLeftCornerWithUpLeftDriftMovesToBottomRight) {
    Asteroid a;
    spawnLargeWhere(
        a, [](const LargeDraws& d) { return d.r % 2 != 0 && d.dy < 5 && d.dx < 5 && d.edge == 0; });
    EXPECT_EQ(a.getPosition(), Vec2(kClient.right, kClient.bottom));
}

TEST_F(AsteroidTest, SpinFiveKeepsHeadingButOutlineTurnsWithPosition) {
    Seeded seeded(clock, 7);
    TestAsteroid a;
    for (int i = 0; i < 500 && a.getSpin() != 5; ++i) {
        a.spawn(&kClient, Asteroid::kSmall, 1.0f, Vec2(100, 100), clock);
    }
    ASSERT_EQ(a.getSpin(), 5);
    const double heading = a.getHeading().angle();

    // Circle the client origin at a distance: the corners follow the centre's
    // direction from the origin on top of the (still) heading.
    a.place(Vec2(300, 10), Vec2(-5, 5));
    for (int step = 0; step < 55; ++step) {
        a.update(&kClient);
        ASSERT_NEAR(a.getHeading().angle(), heading, 1e-3);
        const Vec2 p = a.getPosition();
        for (int i = 0; i < Asteroid::kCorners; ++i) {
            const double theta = Vec2::toRadians(p.angle() + heading + 36.0 * i);
            const double r = a.getRadius()[i] * Asteroid::kSmall;
            EXPECT_NEAR(a.getOutline()[i].x, p.x + r * std::cos(theta), 1.01);
            EXPECT_NEAR(a.getOutline()[i].y, p.y + r * std::sin(theta), 1.01);
        }
    }
    // The centre has swung from about 2 to about 88 degrees around the origin.
    EXPECT_GT(a.getPosition().angle(), 80.0);
}

TEST_F(AsteroidTest, SpinTurnsHeadingAndOutlineBySpinTenthsLessAHalfDegreeATick) {
    // Spin 10 turns clockwise on the screen (y grows downwards), spin 1 back.
    for (const auto& [spin, degreesPerTick] : {std::pair{10, 0.5}, std::pair{1, -0.4}}) {
        Seeded seeded(clock, 7);
        TestAsteroid a;
        for (int i = 0; i < 500 && a.getSpin() != spin; ++i) {
            a.spawn(&kClient, Asteroid::kLarge, 1.0f, Vec2(), clock);
        }
        ASSERT_EQ(a.getSpin(), spin);
        const double start = Vec2(30, 10).angle();  // every spawn's heading
        ASSERT_NEAR(a.getHeading().angle(), start, 1e-6);

        // At rest, so that only the spin turns the outline.
        a.place(Vec2(370, 290), Vec2());
        const double centre = a.getPosition().angle();
        for (int tick = 1; tick <= 60; ++tick) {
            a.update(&kClient);
            const double heading = start + degreesPerTick * tick;
            ASSERT_NEAR(a.getHeading().angle(), heading, 1e-3)
                << "spin " << spin << " tick " << tick;
            for (int i = 0; i < Asteroid::kCorners; ++i) {
                const double theta = Vec2::toRadians(centre + heading + 36.0 * i);
                const double r = a.getRadius()[i] * Asteroid::kLarge;
                ASSERT_NEAR(a.getOutline()[i].x, 370 + r * std::cos(theta), 1.01) << "corner " << i;
                ASSERT_NEAR(a.getOutline()[i].y, 290 + r * std::sin(theta), 1.01) << "corner " << i;
            }
        }
    }
}

TEST_F(AsteroidTest, SmallKeepsExactPositionUntilFirstUpdate) {
    Seeded seeded(clock);
    TestAsteroid a;
    const Vec2 at(-12.75, 600.5);
    a.spawn(&kClient, Asteroid::kSmall, 0.25f, at, clock);
    EXPECT_EQ(a.getPosition(), at);
    EXPECT_NEAR(a.getVelocity().length(), 0.25, 1e-6);

    a.place(at, Vec2(0.25, 0));
    a.update(&kClient);
    EXPECT_FLOAT_EQ(a.getPosition().x, 740 - 12.5f);
    EXPECT_FLOAT_EQ(a.getPosition().y, 20.5f);
}

TEST_F(AsteroidTest, FreshAsteroidContainsItsCentre) {
    Seeded seeded(clock, 99);
    for (int i = 0; i < 20; ++i) {
        Asteroid a;
        const std::int32_t size = i % 2 == 0 ? Asteroid::kLarge : Asteroid::kSmall;
        a.spawn(&kClient, size, 1.0f, Vec2(200.5, 300.5), clock);
        const Point c = a.getPosition().toPoint();
        EXPECT_TRUE(a.contains(c.x, c.y)) << "spawn " << i;
        for (int r : a.getRadius()) {
            EXPECT_GE(r, 2);
            EXPECT_LE(r, 5);
        }
        EXPECT_GE(a.getSpin(), 1);
        EXPECT_LE(a.getSpin(), 10);
    }
}

TEST_F(AsteroidTest, UnknownSizeShowsBoxAndRestsAtOrigin) {
    Seeded seeded(clock);
    Asteroid a;
    a.spawn(&kClient, Asteroid::kSmall, 1.0f, Vec2(10, 10), clock);
    a.spawn(&kClient, Asteroid::kLarge, 1.0f, Vec2(10, 10), clock);
    EXPECT_TRUE(clock.boxes.empty());

    a.spawn(&kClient, 7, 1.0f, Vec2(10, 10), clock);
    ASSERT_EQ(clock.boxes.size(), 1u);
    EXPECT_EQ(clock.boxes[0], "Bar: Foo");
    EXPECT_TRUE(a.isActive());
    EXPECT_EQ(a.getPosition(), Vec2());
    EXPECT_EQ(a.getVelocity(), Vec2());
    EXPECT_EQ(a.getSize(), 7);
}

TEST_F(AsteroidTest, AddVelocityAddsToDrift) {
    TestAsteroid a;
    a.place(Vec2(100, 100), Vec2(1, -1));
    a.addVelocity(Vec2(0.5, 2));
    EXPECT_EQ(a.getVelocity(), Vec2(1.5, 1));
}

TEST_F(AsteroidTest, DrawFillsLightGreyInsideTheOutline) {
    Seeded seeded(clock);
    TestAsteroid a;
    a.spawn(&kClient, Asteroid::kLarge, 1.0f, Vec2(), clock);
    a.place(Vec2(370, 290), Vec2());
    a.update(&kClient);

    gfx::Surface surface(740, 580);
    surface.newFrame(740, 580);
    a.draw(surface);
    EXPECT_EQ(surface.pixel(370, 290), gfx::kLtGrayBrush.color);
    EXPECT_EQ(surface.pixel(370 + 101, 290), gfx::kBlack);  // beyond the longest corner
}

TEST(FindFreeAsteroid, TakesLowestInactiveSlot) {
    std::array<Asteroid, 16> slots{};
    EXPECT_EQ(findFreeAsteroid(slots.data()), 0);
    for (int i = 0; i < 3; ++i) slots[i].setActive(true);
    slots[5].setActive(true);
    EXPECT_EQ(findFreeAsteroid(slots.data()), 3);
    for (Asteroid& a : slots) a.setActive(true);
    EXPECT_EQ(findFreeAsteroid(slots.data()), -1);
    slots[15].setActive(false);
    EXPECT_EQ(findFreeAsteroid(slots.data()), 15);
}

}  // namespace
}  // namespace kolvane
