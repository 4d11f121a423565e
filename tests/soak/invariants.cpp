#include "soak/invariants.h"

#include <cstddef>
#include <string_view>

#include "game/game_world.h"

namespace kolvane::soak {

namespace {

bool inRange(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v >= lo && v <= hi;
}

// Inside [0, W] x [0, H]; a NaN fails both comparisons.
bool inField(Vec2 p, const Rect& client) {
    const double w = client.right - client.left;
    const double h = client.bottom - client.top;
    return p.x >= 0.0 && p.x <= w && p.y >= 0.0 && p.y <= h;
}

std::string where(Vec2 p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

bool fail(std::string& problem, std::string text) {
    problem = std::move(text);
    return false;
}

}  // namespace

bool checkCounters(const GameWorld& world, std::string& problem) {
    const GameState& g = world.game;
    const Ship& ship = world.ship;
    const std::string_view message(g.message.data(), g.message.size());
    const std::size_t length = message.find('\0');
    if (length == std::string_view::npos) return fail(problem, "message is not terminated");
    if (length > static_cast<std::size_t>(kMaxMessageLength)) {
        return fail(problem, "message \"" + std::string(message.substr(0, length)) + "\" has " +
                                 std::to_string(length) + " characters");
    }
    if (!inRange(g.messageAge, 0, 100)) {
        return fail(problem, "messageAge " + std::to_string(g.messageAge));
    }
    if (!inRange(g.asteroidsLeft, 0, 20)) {
        return fail(problem, "asteroidsLeft " + std::to_string(g.asteroidsLeft));
    }
    if (!inRange(g.levelClearTimer, 0, 75)) {
        return fail(problem, "levelClearTimer " + std::to_string(g.levelClearTimer));
    }
    if (!inRange(g.respawnTimer, 0, 75)) {
        return fail(problem, "respawnTimer " + std::to_string(g.respawnTimer));
    }
    if (g.score < 0) return fail(problem, "score " + std::to_string(g.score));
    if (ship.getMissileCount() < 0) {
        return fail(problem, "missileCount " + std::to_string(ship.getMissileCount()));
    }
    if (g.running && ship.getLives() < 0) {
        return fail(problem, "lives " + std::to_string(ship.getLives()) + " in a running game");
    }
    return true;
}

bool checkPlaces(const GameWorld& world, const Rect& client, std::string& problem) {
    int asteroids = 0;
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        const Asteroid& a = world.asteroids[i];
        if (!a.isActive()) continue;
        ++asteroids;
        if (!inField(a.getPosition(), client)) {
            return fail(problem, "asteroid " + std::to_string(i) + " at " + where(a.getPosition()));
        }
    }
    if (asteroids > GameWorld::kAsteroids) {
        return fail(problem, std::to_string(asteroids) + " active asteroids");
    }
    const Ship& ship = world.ship;
    if (ship.isActive() && !inField(ship.getPosition(), client)) {
        return fail(problem, "ship at " + where(ship.getPosition()));
    }
    for (int i = 0; i < Ship::kSlots; ++i) {
        const Bullet& b = ship.bullet(i);
        if (b.isActive() && !inField(b.getPosition(), client)) {
            return fail(problem, "bullet " + std::to_string(i) + " at " + where(b.getPosition()));
        }
        const Missile& m = ship.missile(i);
        if (m.isActive() && !inField(m.getPosition(), client)) {
            return fail(problem, "missile " + std::to_string(i) + " at " + where(m.getPosition()));
        }
    }
    for (int i = 0; i < GameWorld::kSaucers; ++i) {
        const Saucer& s = world.saucers[i];
        if (s.bullet.isActive() && !inField(s.bullet.getPosition(), client)) {
            return fail(problem, "saucer " + std::to_string(i) + "'s shot at " +
                                     where(s.bullet.getPosition()));
        }
        if (s.missile.isActive() && !inField(s.missile.getPosition(), client)) {
            return fail(problem, "saucer " + std::to_string(i) + "'s missile at " +
                                     where(s.missile.getPosition()));
        }
    }
    if (world.powerUp.isActive() && !inField(world.powerUp.getPosition(), client)) {
        return fail(problem, "capsule at " + where(world.powerUp.getPosition()));
    }
    return true;
}

bool checkInvariants(const GameWorld& world, const Rect& client, std::string& problem) {
    return checkCounters(world, problem) && checkPlaces(world, client, problem);
}

}  // namespace kolvane::soak
