// The screen text and marks: stars, title, HUD, message line, targeting aids,
// rendered into a real surface.
#include "game/screen.h"

#include <gtest/gtest.h>

#include <cstring>

#include "arena.h"
#include "gfx/surface.h"

namespace kolvane {
namespace {

using testing::Arena;

constexpr gfx::Color kWhite(255, 255, 255);
constexpr gfx::Color kGrey(0xAA, 0xAA, 0xAA);
constexpr gfx::Color kGreen(0, 0xDD, 0);
constexpr gfx::Color kRed(255, 0, 0);
constexpr Rect kMessageRect{1, 20, 300, 50};

// Calls fn(x, y, colour) for every pixel that is not black.
template <class Fn>
void forEachLit(const gfx::Surface& s, Fn&& fn) {
    for (std::int32_t y = 0; y < s.height(); ++y) {
        for (std::int32_t x = 0; x < s.width(); ++x) {
            const gfx::Color c = s.pixel(x, y);
            if (c != gfx::kBlack) fn(x, y, c);
        }
    }
}

int litIn(const gfx::Surface& s, const Rect& r) {
    int n = 0;
    forEachLit(s, [&](std::int32_t x, std::int32_t y, gfx::Color) { n += ptInRect(r, {x, y}); });
    return n;
}

bool sameFrame(const gfx::Surface& a, const gfx::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    return std::memcmp(a.pixels(), b.pixels(),
                       sizeof(std::uint32_t) * static_cast<std::size_t>(a.width()) *
                           static_cast<std::size_t>(a.height())) == 0;
}

TEST(Starfield, NineteenWhiteStars) {
    gfx::Surface s(740, 580);
    drawStarfield(s);
    int stars = 0;
    forEachLit(s, [&](std::int32_t, std::int32_t, gfx::Color c) {
        EXPECT_EQ(c, kWhite);
        ++stars;
    });
    EXPECT_EQ(stars, 19);
    EXPECT_EQ(s.pixel(95, 535), kWhite);
    EXPECT_EQ(s.pixel(728, 452), kWhite);
    EXPECT_EQ(s.pixel(591, 460), kWhite);
}

TEST(TitleScreen, TextsStayInTheirRectangles) {
    for (const Rect client : {Rect{0, 0, 740, 580}, Rect{0, 0, 641, 481}}) {
        gfx::Surface s(client.right, client.bottom);
        drawTitleScreen(s, client);
        const std::int32_t hw = client.right / 2;
        const std::int32_t hh = client.bottom / 2;
        const Rect rects[] = {{hw - 80, hh - 50, hw + 80, hh + 10},
                              {hw - 80, hh - 30, hw + 80, hh + 30},
                              {hw - 80, hh, hw + 80, hh + 40},
                              {10, 510, 270, 530},
                              {10, 530, 260, 560}};
        forEachLit(s, [&](std::int32_t x, std::int32_t y, gfx::Color c) {
            EXPECT_EQ(c, kWhite);
            bool inside = false;
            for (const Rect& r : rects) inside = inside || ptInRect(r, {x, y});
            EXPECT_TRUE(inside) << x << "," << y;
        });
        // "Game over" alone is centred on hh - 20, above the other two lines.
        EXPECT_GT(litIn(s, Rect{hw - 80, hh - 30, hw + 80, hh - 10}), 0);
        if (client.bottom >= 560) {  // the help lines sit at fixed pixels
            EXPECT_GT(litIn(s, rects[3]), 0);
            EXPECT_GT(litIn(s, rects[4]), 0);
        }
        EXPECT_EQ(s.bkMode(), gfx::BkMode::kTransparent);
    }
}

// The HUD drawn the way it should look, text by text.
void drawExpectedHud(gfx::Surface& s, const char* const (&texts)[10]) {
    const std::int32_t edges[10][2] = {{1, 50},    {45, 100},  {100, 150}, {143, 170}, {170, 210},
                                       {213, 230}, {250, 310}, {313, 338}, {350, 405}, {405, 500}};
    s.setBkMode(gfx::BkMode::kTransparent);
    s.setTextColor(kWhite);
    for (int i = 0; i < 10; ++i) {
        s.drawText(texts[i], static_cast<std::int32_t>(std::strlen(texts[i])),
                   Rect{edges[i][0], 1, edges[i][1], 20}, 0x24);
    }
}

TEST(Hud, StartValuesAtProcessStart) {
    GameWorld world;
    gfx::Surface s(740, 580);
    drawHud(world, s);
    gfx::Surface expected(740, 580);
    const char* const texts[10] = {"Score", "0",        "Lives", "0",        "Level",
                                   "1",     "Missiles", "0",     "Special:", "Missiles"};
    drawExpectedHud(expected, texts);
    EXPECT_TRUE(sameFrame(s, expected));
    EXPECT_EQ(world.hudRect.top, 1);
    EXPECT_EQ(world.hudRect.bottom, 20);
}

TEST(Hud, NumbersInDecimalWithTheirSign) {
    Arena a;
    a.start();
    a.game().score = 12345;
    a.game().level = 3.0f;
    a.game().special = kTeleport;
    a.ship().addMissiles(-15);
    a.ship().addLife();
    gfx::Surface s(740, 580);
    drawHud(a.world, s);
    gfx::Surface expected(740, 580);
    const char* const texts[10] = {"Score", "12345",    "Lives", "4",        "Level",
                                   "3",     "Missiles", "-5",    "Special:", "Teleport"};
    drawExpectedHud(expected, texts);
    EXPECT_TRUE(sameFrame(s, expected));
}

TEST(Hud, StaysInsideItsBand) {
    Arena a;
    a.start();
    a.game().score = 2147483647;
    a.game().special = kMissileburst;
    gfx::Surface s(740, 580);
    drawHud(a.world, s);
    int lit = 0;
    forEachLit(s, [&](std::int32_t x, std::int32_t y, gfx::Color c) {
        ++lit;
        EXPECT_GE(y, 1);
        EXPECT_LT(y, 20);
        EXPECT_LT(x, 500);
        EXPECT_EQ(c, kWhite);
    });
    EXPECT_GT(lit, 0);
}

TEST(Hud, UnknownSpecialHasNoName) {
    EXPECT_STREQ(specialName(-1), "");
    EXPECT_STREQ(specialName(6), "");
    EXPECT_STREQ(specialName(kRepulsor), "Repulsor");
    Arena a;
    a.game().special = 6;
    gfx::Surface s(740, 580);
    drawHud(a.world, s);
    EXPECT_EQ(litIn(s, Rect{405, 0, 500, 25}), 0);
}

// Paints the message line once on a fresh frame; true when it drew anything.
bool paintMessage(GameWorld& w, gfx::Surface& s) {
    s.newFrame(740, 580);
    drawMessage(w, s);
    return litIn(s, kMessageRect) > 0;
}

TEST(MessageLine, ShownForExactlyAHundredPaints) {
    GameWorld w;
    gfx::Surface s(740, 580);
    w.game.setMessage("Good luck...");
    for (int paint = 1; paint <= 100; ++paint) {
        ASSERT_TRUE(paintMessage(w, s)) << paint;
        ASSERT_EQ(w.game.messageAge, paint);
    }
    EXPECT_FALSE(paintMessage(w, s));
    EXPECT_STREQ(w.game.messageText(), "");
    EXPECT_EQ(w.game.messageAge, 0);
    EXPECT_FALSE(paintMessage(w, s));
}

TEST(MessageLine, ReplacementInheritsTheRemainingTime) {
    GameWorld w;
    gfx::Surface s(740, 580);
    w.game.setMessage("Special: changed to Teleport");
    for (int paint = 0; paint < 95; ++paint) paintMessage(w, s);
    w.game.setMessage("Got 10 missiles");
    int shown = 0;
    while (paintMessage(w, s)) ++shown;
    EXPECT_EQ(shown, 5);
}

TEST(MessageLine, TextStoredAtAgeHundredIsNeverDrawn) {
    GameWorld w;
    gfx::Surface s(740, 580);
    w.game.setMessage("Dead");
    for (int paint = 0; paint < 100; ++paint) paintMessage(w, s);
    w.game.setMessage("Extra life!");
    EXPECT_FALSE(paintMessage(w, s));
    EXPECT_STREQ(w.game.messageText(), "");
}

TEST(MessageLine, PauseFreezesTheAge) {
    GameWorld w;
    gfx::Surface s(740, 580);
    w.game.paused = true;
    w.game.setMessage("Got targeting aids");
    for (int paint = 0; paint < 300; ++paint) ASSERT_TRUE(paintMessage(w, s));
    EXPECT_EQ(w.game.messageAge, 0);
    w.game.paused = false;
    int shown = 0;
    while (paintMessage(w, s)) ++shown;
    EXPECT_EQ(shown, 100);
}

TEST(MessageLine, BlinksWhiteAndGrey) {
    GameWorld w;
    gfx::Surface s(740, 580);
    w.game.setMessage("Extra life!");
    for (int paint = 0; paint < 4; ++paint) {
        paintMessage(w, s);
        const gfx::Color expected = paint % 2 == 0 ? kWhite : kGrey;
        int lit = 0;
        forEachLit(s, [&](std::int32_t x, std::int32_t y, gfx::Color c) {
            EXPECT_TRUE(ptInRect(kMessageRect, {x, y}));
            EXPECT_EQ(c, expected) << paint;
            ++lit;
        });
        EXPECT_GT(lit, 0);
    }
}

TEST(MessageLine, EmptyMessageChangesNothing) {
    GameWorld w;
    gfx::Surface s(740, 580);
    EXPECT_FALSE(paintMessage(w, s));
    EXPECT_FALSE(w.messageBlink);
}

TEST(TargetingAids, CrossesAtMidpointsAndARedPointer) {
    Arena a;
    a.start();
    a.clearField();
    a.moveShip(Vec2(300.0, 200.0));
    a.placeSmall(7, Vec2(401.0, 301.0));  // midpoint (350.5, 250.5)
    gfx::Surface s(740, 580);
    s.setBkMode(gfx::BkMode::kTransparent);  // as every earlier paint leaves it
    const gfx::Pen mine = gfx::createPen(gfx::PenStyle::kSolid, 1, gfx::Color(0x12, 0x34, 0x56));
    s.selectPen(mine);
    drawTargetingAids(a.world, s);

    const Point green[] = {{345, 245}, {355, 245}, {345, 255}, {355, 255},
                           {346, 246}, {354, 246}, {346, 254}, {354, 254}};
    for (const Point& p : green) EXPECT_EQ(s.pixel(p.x, p.y), kGreen) << p.x << "," << p.y;
    int greens = 0;
    int reds = 0;
    forEachLit(s, [&](std::int32_t x, std::int32_t y, gfx::Color c) {
        EXPECT_TRUE(c == kGreen || c == kRed);
        if (c == kGreen) ++greens;
        if (c == kRed) {
            ++reds;
            EXPECT_EQ(x, 300);
            EXPECT_LE(y, 200);
        }
    });
    EXPECT_EQ(greens, 8);
    EXPECT_GT(reds, 50);
    EXPECT_EQ(s.pen(), mine);
    EXPECT_EQ(a.world.targetPointer, Vec2(0.0, -1000.0));
}

TEST(TargetingAids, NoAsteroidsOnlyThePointer) {
    Arena a;
    a.start();
    a.clearField();
    gfx::Surface s(740, 580);
    s.setBkMode(gfx::BkMode::kTransparent);
    drawTargetingAids(a.world, s);
    forEachLit(s, [&](std::int32_t, std::int32_t, gfx::Color c) { EXPECT_EQ(c, kRed); });
    EXPECT_GT(litIn(s, Rect{370, 0, 371, 290}), 0);
}

}  // namespace
}  // namespace kolvane
