#include "game/rules.h"

#include "core/platform.h"
#include "core/random.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

constexpr std::int32_t kRespawnTicks = 75;
constexpr std::int32_t kLevelClearTicks = 75;
constexpr std::int32_t kSaucerInterval = 1000;
constexpr std::int32_t kAsteroidsPerLevel = 20;
constexpr std::int32_t kAwardPoints = 750;
constexpr int kLargePerLevel = 4;

// The award needs 20.0 / shotsFired >= 0.75; no shots at all counts as an
// infinite ratio (and so earns it) without dividing by zero.
bool earnsAward(std::int32_t shotsFired) {
    return shotsFired == 0 || 20.0 / shotsFired >= 0.75;
}

// Firing never drives the score to or below zero: a cost is taken only from a
// score above it.
void charge(GameState& game, std::int32_t cost) {
    if (game.score > cost) game.score -= cost;
}

void secondaryFire(GameWorld& world, const Rect* client) {
    Ship& ship = world.ship;
    GameState& game = world.game;
    switch (game.special) {
        case kSpreadfire:
            ship.spreadfire();
            charge(game, 25);
            game.shotsFired += 5;
            break;
        case kMissileburst:
            ship.missileburst(world.asteroids.data());
            charge(game, 40);
            game.shotsFired += 8;
            break;
        case kMissiles:
            if (ship.getMissileCount() > 0) {
                ship.fireMissile(world.asteroids.data());
                charge(game, 10);
                game.shotsFired += 2;
            }
            break;
        case kTeleport:
            if (ship.teleportCooldown <= 0) {
                // y is drawn before x.
                const std::int32_t y = randomInt(0, client->bottom);
                const std::int32_t x = randomInt(0, client->right);
                ship.teleport(Vec2(x, y));
            }
            break;
        case kSuperbullet:
            ship.superbullet();
            charge(game, 5);
            game.shotsFired += 1;
            break;
        case kRepulsor:
            ship.repulse(world.asteroids.data());
            break;
        default:
            break;
    }
}

}  // namespace

void handleKeyDown(GameWorld& world, Platform& platform, const Rect* client, KeyEvent key) {
    GameState& game = world.game;
    // Any key ends a pause, auto-repeats included.
    game.paused = false;
    const bool repeat = key.repeat;

    switch (key.key) {
        case vk::kSpace:
            if (repeat) break;
            // The shot is paid and counted even when nothing leaves the ship.
            world.ship.fire();
            charge(game, 5);
            game.shotsFired += 1;
            break;
        case vk::kX:
            if (!repeat && game.running) secondaryFire(world, client);
            break;
        case vk::kP:
            if (!repeat && game.running) game.paused = true;
            break;
        case vk::kEscape:
            platform.quit();
            break;
        case vk::kS:
            if (!repeat && !game.running) startGame(world, platform, client);
            break;
        default:
            break;
    }
}

void startGame(GameWorld& world, MessageBoxes& boxes, const Rect* client) {
    GameState& game = world.game;
    for (Saucer& saucer : world.saucers) {
        saucer.setActive(false);
        saucer.bullet.setActive(false);
    }
    world.powerUp.setActive(false);
    game.setMessage("Good luck...");
    game.level = 1.0f;
    game.score = 0;
    game.running = true;
    game.targetingAids = false;
    world.ship.respawn(*client);
    game.nextSaucerScore = kSaucerInterval;
    game.special = kMissiles;
    newLevel(world, boxes, truncate(game.level), client);
}

void newLevel(GameWorld& world, MessageBoxes& boxes, int levelNumber, const Rect* client) {
    for (Asteroid& asteroid : world.asteroids) asteroid.setActive(false);
    const auto speed = static_cast<float>(levelNumber / 3.0);
    for (int i = 0; i < kLargePerLevel; ++i) {
        // A large asteroid picks its own place; the position is not used.
        world.asteroids[i].spawn(client, Asteroid::kLarge, speed, Vec2(-10.0, 0.0), boxes);
    }
    world.game.asteroidsLeft = kAsteroidsPerLevel;
    world.game.shotsFired = 0;
}

void stepRespawn(GameWorld& world, const Rect* client) {
    GameState& game = world.game;
    if (!world.ship.isActive() && game.respawnTimer < kRespawnTicks) {
        game.respawnTimer += 1;
    } else if (game.respawnTimer == kRespawnTicks) {
        game.messageAge = 0;
        game.setMessage("Temporary invincibility");
        world.ship.respawn(*client);
        game.respawnTimer = 0;
    }
}

void stepSaucerLaunch(GameWorld& world, const Rect* client) {
    GameState& game = world.game;
    // One threshold per tick, even when no saucer slot is free.
    if (game.score >= game.nextSaucerScore) {
        game.nextSaucerScore += kSaucerInterval;
        launchSaucer(world.saucers.data(), client, &world.ship);
    }
}

void stepLevelClear(GameWorld& world, MessageBoxes& boxes, const Rect* client) {
    GameState& game = world.game;
    if (game.asteroidsLeft == 0 && game.levelClearTimer == 0) {
        // Draw the ship back to the middle, unless it already lies on the
        // centre's row or column.
        const Vec2 at = world.ship.getPosition();
        const std::int32_t cx = client->right / 2;
        const std::int32_t cy = client->bottom / 2;
        if (at.getX() != cx && at.getY() != cy) world.ship.teleport(Vec2(cx, cy));
        if (earnsAward(game.shotsFired)) game.setMessage("Marksmanship Award: +750 pts");
    }
    if (game.asteroidsLeft == 0 && game.levelClearTimer < kLevelClearTicks) {
        game.levelClearTimer += 1;
    } else if (game.asteroidsLeft == 0 && game.levelClearTimer == kLevelClearTicks) {
        // Shots fired during the interval count against the award.
        if (earnsAward(game.shotsFired)) game.score += kAwardPoints;
        game.level = static_cast<float>(game.level + 1.0);
        game.levelClearTimer = 0;
        newLevel(world, boxes, truncate(game.level), client);
    }
}

}  // namespace kolvane
