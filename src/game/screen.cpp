#include "game/screen.h"

#include <array>
#include <charconv>
#include <string_view>

#include "game/game_world.h"
#include "gfx/surface.h"

namespace kolvane {

namespace {

constexpr auto kWhite = gfx::Color::fromColorref(0xFFFFFF);
constexpr auto kGrey = gfx::Color::fromColorref(0xAAAAAA);
constexpr auto kAidGreen = gfx::Color::fromColorref(0x00DD00);
constexpr auto kPointerRed = gfx::Color::fromColorref(0x0000FF);
constexpr double kPointerLength = 1000.0;
constexpr std::int32_t kMessageShows = 100;

constexpr unsigned kCentred = gfx::kDtCenter | gfx::kDtVCenter | gfx::kDtSingleLine;  // 0x25
constexpr unsigned kHudFlags = gfx::kDtSingleLine | gfx::kDtVCenter;                  // 0x24
constexpr unsigned kHelpFlags = gfx::kDtSingleLine;                                   // 0x20

constexpr std::array<Point, 19> kStars{{
    {95, 535},  {118, 44},  {195, 207}, {543, 173}, {616, 246}, {198, 380}, {64, 540},
    {392, 281}, {331, 485}, {331, 140}, {486, 70},  {501, 420}, {728, 452}, {587, 166},
    {706, 439}, {94, 142},  {65, 382},  {313, 384}, {591, 460},
}};

// The diagonal cross at each midpoint: two pixels per arm, the centre empty.
constexpr std::array<Point, 8> kAidMark{{
    {-5, -5},
    {5, -5},
    {-5, 5},
    {5, 5},
    {-4, -4},
    {4, -4},
    {-4, 4},
    {4, 4},
}};

constexpr Rect kMessageRect{1, 20, 300, 50};

// DrawTextA with the text's exact length.
void drawText(gfx::Surface& surface, std::string_view text, const Rect& rect, unsigned flags) {
    surface.drawText(text.data(), static_cast<std::int32_t>(text.size()), rect, flags);
}

void drawLabel(GameWorld& world, gfx::Surface& surface, std::int32_t left, std::int32_t right,
               std::string_view text) {
    world.hudRect.left = left;
    world.hudRect.right = right;
    drawText(surface, text, world.hudRect, kHudFlags);
}

void drawNumber(GameWorld& world, gfx::Surface& surface, std::int32_t left, std::int32_t right,
                std::int32_t value) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    world.hudRect.left = left;
    world.hudRect.right = right;
    drawText(surface, std::string_view(digits.data(), result.ptr - digits.data()), world.hudRect,
             kHudFlags);
}

}  // namespace

const char* specialName(int special) {
    switch (special) {
        case kSpreadfire:
            return "Spreadfire";
        case kMissileburst:
            return "Missileburst";
        case kMissiles:
            return "Missiles";
        case kTeleport:
            return "Teleport";
        case kSuperbullet:
            return "Superbullet";
        case kRepulsor:
            return "Repulsor";
        default:
            return "";
    }
}

void drawStarfield(gfx::Surface& surface) {
    for (const Point& star : kStars) surface.setPixel(star.x, star.y, kWhite);
}

void drawTargetingAids(GameWorld& world, gfx::Surface& surface) {
    // A fresh red pen every paint, and the previous one put back afterwards.
    const gfx::Pen previous =
        surface.selectPen(gfx::createPen(gfx::PenStyle::kDot, 1, kPointerRed));
    const Vec2 ship = world.ship.getPosition();
    for (const Asteroid& asteroid : world.asteroids) {
        if (!asteroid.isActive()) continue;
        const Vec2 mid = (asteroid.getPosition() + ship) / 2.0;
        for (const Point& d : kAidMark) {
            surface.setPixel(truncate(mid.getX() + d.x), truncate(mid.getY() + d.y), kAidGreen);
        }
    }
    world.targetPointer = world.ship.getHeading();
    world.targetPointer.setLength(kPointerLength);
    surface.moveTo(truncate(ship.getX()), truncate(ship.getY()));
    surface.lineTo(truncate(ship.getX() + world.targetPointer.getX()),
                   truncate(ship.getY() + world.targetPointer.getY()));
    surface.selectPen(previous);
}

void drawTitleScreen(gfx::Surface& surface, const Rect& client) {
    surface.setBkMode(gfx::BkMode::kTransparent);
    surface.setTextColor(kWhite);
    const std::int32_t hw = (client.right - client.left) / 2;
    const std::int32_t hh = (client.bottom - client.top) / 2;
    drawText(surface, "Game over", Rect{hw - 80, hh - 50, hw + 80, hh + 10}, kCentred);
    drawText(surface, "Press 's' to start", Rect{hw - 80, hh - 30, hw + 80, hh + 30}, kCentred);
    drawText(surface, "Tesselmor", Rect{hw - 80, hh, hw + 80, hh + 40}, kCentred);
    drawText(surface, "Arrow keys move, [left] + [right] to brake", Rect{10, 510, 270, 530},
             kHelpFlags);
    drawText(surface, "[Space] to shoot, [x] for secondary fire", Rect{10, 530, 260, 560},
             kHelpFlags);
}

void drawHud(GameWorld& world, gfx::Surface& surface) {
    const GameState& game = world.game;
    surface.setBkMode(gfx::BkMode::kTransparent);
    surface.setTextColor(kWhite);
    world.hudRect.top = 1;
    world.hudRect.bottom = 20;
    drawLabel(world, surface, 1, 50, "Score");
    drawNumber(world, surface, 45, 100, game.score);
    drawLabel(world, surface, 100, 150, "Lives");
    drawNumber(world, surface, 143, 170, world.ship.getLives());
    drawLabel(world, surface, 170, 210, "Level");
    drawNumber(world, surface, 213, 230, truncate(game.level));
    drawLabel(world, surface, 250, 310, "Missiles");
    drawNumber(world, surface, 313, 338, world.ship.getMissileCount());
    drawLabel(world, surface, 350, 405, "Special:");
    drawLabel(world, surface, 405, 500, specialName(game.special));
}

void drawMessage(GameWorld& world, gfx::Surface& surface) {
    GameState& game = world.game;
    if (game.message[0] == '\0') return;
    if (game.messageAge == kMessageShows) {
        game.messageAge = 0;
        game.message[0] = '\0';
        return;
    }
    // A paused game keeps the message on screen without ageing it.
    if (!game.paused) game.messageAge += 1;
    surface.setBkMode(gfx::BkMode::kTransparent);
    if (world.messageBlink) {
        surface.setTextColor(kGrey);
        world.messageBlink = false;
    } else {
        surface.setTextColor(kWhite);
        world.messageBlink = true;
    }
    drawText(surface, game.messageText(), kMessageRect, 0);
}

}  // namespace kolvane
