// The ship's picture: the shield disc and its shrinking, the white hull and
// the blinking of a charging teleport, drawn into a real surface.
#include <algorithm>
#include <cstring>

#include "gfx/surface.h"
#include "ship_fixture.h"

namespace kolvane::testing {
namespace {

constexpr gfx::Color kShield(0xBB, 0xBB, 0xFF);  // pale blue

class ShipDrawTest : public ShipTest {
protected:
    void SetUp() override {
        ship.respawn(kClient);
        ship.update(&client);  // builds the hull region
    }

    // The frame as it should look: a shield disc of radius r (none when r < 0)
    // and the white hull over it.
    const gfx::Surface& expectedFrame(int r) {
        reference.newFrame(kClient.right, kClient.bottom);
        if (r >= 0) {
            const gfx::Brush saved = reference.selectBrush(gfx::createSolidBrush(kShield));
            reference.ellipse(370 - r, 290 - r, 370 + r, 290 + r);
            reference.selectBrush(saved);
        }
        reference.fillRegion(ship.getRegion(), gfx::kWhiteBrush);
        return reference;
    }

    const gfx::Surface& drawShip() {
        surface.newFrame(kClient.right, kClient.bottom);
        ship.draw(surface);
        return surface;
    }

    static bool samePixels(const gfx::Surface& a, const gfx::Surface& b) {
        const auto n = static_cast<std::size_t>(a.width()) * static_cast<std::size_t>(a.height());
        return a.width() == b.width() && a.height() == b.height() &&
               std::memcmp(a.pixels(), b.pixels(), n * sizeof(std::uint32_t)) == 0;
    }

    gfx::Surface surface;
    gfx::Surface reference;
};

TEST_F(ShipDrawTest, ShieldKeepsRadiusSixteenThenShrinksEverySecondFrame) {
    for (int frame = 1; frame <= 100; ++frame) {
        const int r = frame <= 68 ? 16 : (100 - frame) / 2;
        ASSERT_TRUE(samePixels(drawShip(), expectedFrame(r))) << "frame " << frame;
        ASSERT_EQ(ship.invincibleTimer, 100 - frame);
    }
    // The timer is spent: no disc any more, and it stays at zero.
    EXPECT_TRUE(samePixels(drawShip(), expectedFrame(-1)));
    EXPECT_EQ(ship.invincibleTimer, 0);
}

TEST_F(ShipDrawTest, ShieldIsPaleBlueAndLeavesTheBrushSelected) {
    const gfx::Brush before = surface.brush();
    drawShip();
    EXPECT_EQ(surface.pixel(358, 290), kShield);
    EXPECT_EQ(surface.brush(), before);
}

TEST_F(ShipDrawTest, ChargingTeleportShowsTheHullBlackOnOddSteps) {
    ship.invincibleTimer = 0;
    for (int charge = 1; charge <= 9; ++charge) {
        ship.teleportCharge = charge;
        drawShip();
        const gfx::Color expected = charge % 2 == 1 ? gfx::kBlack : gfx::kWhite;
        EXPECT_EQ(surface.pixel(370, 285), expected) << "charge " << charge;
    }
}

TEST_F(ShipDrawTest, HullCoversItsOwnBullet) {
    ship.invincibleTimer = 0;
    ship.fire();  // at the centre, not yet moved
    drawShip();
    EXPECT_EQ(surface.pixel(369, 289), gfx::kWhite);  // two arms of the bullet's cross
    EXPECT_EQ(surface.pixel(371, 289), gfx::kWhite);
    ship.update(&client);
    drawShip();
    EXPECT_EQ(surface.pixel(370, 275), gfx::Color(255, 255, 0));  // the bullet's yellow centre
}

}  // namespace
}  // namespace kolvane::testing
