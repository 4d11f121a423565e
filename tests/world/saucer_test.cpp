#include "world/saucer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "gfx/surface.h"
#include "support/fake_platform.h"
#include "support/seeded.h"
#include "world_test_support.h"

namespace kolvane {
namespace {

using testing::FakePlatform;
using testing::findSeed;
using testing::Seeded;
using testing::Target;

constexpr Rect kClient{0, 0, 740, 580};

// Places a saucer by hand, in flight, aiming at `aim`.
class TestSaucer : public Saucer {
public:
    void place(Vec2 at, Vec2 step, const SpaceObject* aim = nullptr) {
        position = at;
        velocity = step;
        active = true;
        if (aim != nullptr) launchTarget(aim);
    }
    void setVelocity(Vec2 v) { velocity = v; }

private:
    // The target is private to Saucer; the one way in is a launch, after
    // which the place is set again by hand.
    void launchTarget(const SpaceObject* aim) {
        const Vec2 at = position;
        const Vec2 step = velocity;
        launch(&kClient, aim);
        position = at;
        velocity = step;
    }
};

class SaucerTest : public ::testing::Test {
protected:
    FakePlatform clock;
    Seeded seeded{clock};
    Target ship{Vec2(370, 290), true};
};

TEST_F(SaucerTest, LaunchSaucerTakesFirstFreeSlot) {
    std::array<Saucer, 5> slots;
    launchSaucer(slots.data(), &kClient, &ship);
    EXPECT_TRUE(slots[0].isActive());
    EXPECT_EQ(slots[0].getTarget(), &ship);
    EXPECT_FALSE(slots[1].isActive());

    slots[1].setActive(true);
    launchSaucer(slots.data(), &kClient, &ship);
    EXPECT_TRUE(slots[2].isActive());
    EXPECT_FALSE(slots[3].isActive());

    for (Saucer& s : slots) s.setActive(true);
    const Vec2 before = slots[4].getPosition();
    launchSaucer(slots.data(), &kClient, &ship);
    EXPECT_EQ(slots[4].getPosition(), before);
    EXPECT_EQ(slots[4].getTarget(), nullptr);
}

// The first draws of a launch: r, then the entry point on the chosen edge.
struct EntryDraws {
    int r = 0, edge = 0;
};

std::uint32_t seedForTopLeftEntry() {
    return findSeed([] {
        EntryDraws d;
        d.r = randomInt(1, 100);
        if (d.r % 2 != 0) return false;
        return randomInt(0, kClient.bottom - kClient.top) == 0;
    });
}

TEST_F(SaucerTest, FirstLaunchNeverFlipsEntry) {
    const std::uint32_t seed = seedForTopLeftEntry();
    ASSERT_NE(seed, 0u);
    srand(seed);
    Saucer s;
    s.launch(&kClient, &ship);
    EXPECT_EQ(s.getPosition(), Vec2(0, 0));
}

TEST_F(SaucerTest, LeftwardPreviousFlightFlipsOnlyX) {
    const std::uint32_t seed = seedForTopLeftEntry();
    ASSERT_NE(seed, 0u);
    srand(seed);
    TestSaucer s;
    s.setVelocity(Vec2(-1, -1));  // up and left: only the x flip applies
    s.launch(&kClient, &ship);
    EXPECT_EQ(s.getPosition(), Vec2(kClient.right, 0));
}

TEST_F(SaucerTest, UpwardPreviousFlightFlipsTopEntryToBottom) {
    const std::uint32_t seed = seedForTopLeftEntry();
    ASSERT_NE(seed, 0u);
    srand(seed);
    TestSaucer s;
    s.setVelocity(Vec2(1, -1));
    s.launch(&kClient, &ship);
    EXPECT_EQ(s.getPosition(), Vec2(0, kClient.bottom));
}

TEST_F(SaucerTest, LaunchHeadsRoughlyForCentreAtTwoPixels) {
    for (int i = 0; i < 40; ++i) {
        Saucer s;
        s.launch(&kClient, &ship);
        const Vec2 p = s.getPosition();
        const Vec2 v = s.getVelocity();
        EXPECT_TRUE(p.x == 0.0f || p.y == 0.0f) << p.x << "," << p.y;
        EXPECT_NEAR(v.length(), 2.0, 1e-5);
        const Vec2 centre = Vec2(370, 290) - p;
        const double cosine =
            (double{v.x} * centre.x + double{v.y} * centre.y) / (v.length() * centre.length());
        EXPECT_LE(std::acos(std::min(1.0, cosine)), Vec2::toRadians(25.0) + 1e-6);
        EXPECT_FALSE(s.bullet.isActive());
    }
}

TEST_F(SaucerTest, HexagonOutlineAndBounds) {
    TestSaucer s;
    s.place(Vec2(100.7, 50.2), Vec2());
    s.update(&kClient);
    const std::array<Point, 6> expected{
        {{90, 44}, {110, 44}, {120, 50}, {110, 56}, {90, 56}, {80, 50}}};
    EXPECT_EQ(s.getOutline(), expected);
    EXPECT_EQ(s.getBounds(), s.getRegion().box());
    EXPECT_TRUE(ptInRect(s.getBounds(), Point{100, 50}));
    EXPECT_FALSE(ptInRect(s.getBounds(), Point{125, 50}));
}

TEST_F(SaucerTest, RightEdgeItselfIsOnScreen) {
    TestSaucer s;
    s.place(Vec2(738, 300), Vec2(2, 0), &ship);
    s.update(&kClient);
    EXPECT_TRUE(s.isActive());
    EXPECT_TRUE(s.bullet.isActive());  // it fired

    TestSaucer t;
    t.place(Vec2(738.5, 300), Vec2(2, 0), &ship);
    t.update(&kClient);
    EXPECT_FALSE(t.isActive());
    EXPECT_FALSE(t.bullet.isActive());  // switched off before it could fire
}

TEST_F(SaucerTest, BeyondEdgeStaysUntilShotExpiresThenLeavesWithoutFiring) {
    TestSaucer s;
    s.place(Vec2(730, 300), Vec2(2, 0), &ship);
    s.update(&kClient);  // fires the first shot
    ASSERT_TRUE(s.bullet.isActive());
    EXPECT_EQ(s.bullet.getLifetime(), 105);
    EXPECT_NEAR(s.bullet.getVelocity().length(), 3.0, 1e-5);
    for (int i = 2; i <= 105; ++i) {
        s.update(&kClient);
        ASSERT_TRUE(s.isActive()) << "update " << i;
    }
    EXPECT_GT(s.getPosition().x, 740.0f);
    EXPECT_FALSE(s.bullet.isActive());  // expired in update 105
    s.update(&kClient);
    EXPECT_FALSE(s.isActive());
    EXPECT_FALSE(s.bullet.isActive());
    EXPECT_EQ(s.bullet.getAge(), 105);
}

TEST_F(SaucerTest, OnScreenFiresAgainRightAfterExpiry) {
    TestSaucer s;
    s.place(Vec2(100, 290), Vec2(0, 0), &ship);
    for (int i = 1; i <= 105; ++i) s.update(&kClient);
    EXPECT_FALSE(s.bullet.isActive());
    s.update(&kClient);
    EXPECT_TRUE(s.bullet.isActive());
    EXPECT_EQ(s.bullet.getAge(), 1);
    // Aimed straight at the ship, from the saucer's centre.
    EXPECT_NEAR(s.bullet.getVelocity().angle(), 0.0, 1e-4);
    EXPECT_NEAR(s.bullet.getPosition().x, 103.0, 1e-4);
}

// A ship in flight: each update moves it by its velocity.
class MovingShip final : public SpaceObject {
public:
    MovingShip(Vec2 at, Vec2 step) {
        position = at;
        velocity = step;
        active = true;
    }
    void draw(gfx::Surface&) override {}
    void update(const Rect*) override { position += velocity; }
};

TEST_F(SaucerTest, AimsAtWhereAMovingShipIsNowWithoutLead) {
    // The ship crosses the saucer's line of sight at 5 pixels a tick, so any
    // lead would turn the shot; it has flown 125 pixels since the launch.
    MovingShip moving(Vec2(200, 400), Vec2(3, 4));
    TestSaucer s;
    s.place(Vec2(600.5, 100.5), Vec2(-2, 0), &moving);
    for (int tick = 0; tick < 25; ++tick) moving.update(&kClient);
    s.update(&kClient);
    ASSERT_TRUE(s.bullet.isActive());

    // Fired from the saucer's centre after its move, toward the ship's
    // position of this tick; the shot has made one step of 3 pixels since.
    const Vec2 to = moving.getPosition() - s.getPosition();
    const Vec2 shot = s.bullet.getVelocity();
    EXPECT_NEAR(shot.length(), 3.0, 1e-5);
    EXPECT_NEAR(shot.angle(), to.angle(), 1e-3);
    EXPECT_NEAR(s.bullet.getPosition().x, s.getPosition().x + shot.x, 1e-3);
    EXPECT_NEAR(s.bullet.getPosition().y, s.getPosition().y + shot.y, 1e-3);
}

TEST_F(SaucerTest, LastShotFliesOnAfterSwitchOff) {
    TestSaucer s;
    s.place(Vec2(100.5, 290.5), Vec2(0, 0), &ship);
    s.update(&kClient);
    s.setActive(false);  // shot down
    const Vec2 shot = s.bullet.getPosition();
    s.update(&kClient);
    EXPECT_TRUE(s.bullet.isActive());
    EXPECT_NEAR(s.bullet.getPosition().x - shot.x, 3.0, 1e-4);

    gfx::Surface surface(740, 580);
    surface.newFrame(740, 580);
    s.draw(surface);
    EXPECT_EQ(surface.pixel(100, 290), gfx::kBlack);  // no hull
    const Point p = s.bullet.getPosition().toPoint();
    EXPECT_EQ(surface.pixel(p.x, p.y), gfx::Color(255, 255, 0));  // the shot's centre
}

TEST_F(SaucerTest, RelaunchRemovesOldShot) {
    std::array<Saucer, 5> slots;
    launchSaucer(slots.data(), &kClient, &ship);
    slots[0].update(&kClient);
    ASSERT_TRUE(slots[0].bullet.isActive());
    slots[0].setActive(false);
    launchSaucer(slots.data(), &kClient, &ship);
    EXPECT_TRUE(slots[0].isActive());
    EXPECT_FALSE(slots[0].bullet.isActive());
    slots[0].update(&kClient);
    EXPECT_EQ(slots[0].bullet.getAge(), 1);
}

TEST_F(SaucerTest, DrawFillsGreyHexagonWhileActive) {
    TestSaucer s;
    s.place(Vec2(200.5, 100.5), Vec2());
    s.update(&kClient);
    gfx::Surface surface(740, 580);
    surface.newFrame(740, 580);
    s.draw(surface);
    EXPECT_EQ(surface.pixel(200, 98), gfx::kGrayBrush.color);
    EXPECT_EQ(surface.pixel(200, 110), gfx::kBlack);
}

}  // namespace
}  // namespace kolvane
