#include "bench/busy_world.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "app/session/script.h"
#include "app/session/script_player.h"
#include "core/random.h"
#include "game/game_world.h"
#include "game/rules.h"

namespace kolvane::bench {

namespace {

constexpr std::int32_t kFragment = Asteroid::kSmall;
// Nine turns of 4 degrees: ten shots fan out over the full circle.
constexpr int kTurnsBetweenShots = 9;
constexpr std::int32_t kMissileStock = 10;
constexpr int kBursts = 3;  // four, four and two missiles

// Where the extra fragments appear: spread over the field, as if several
// large rocks had broken up in different places.
Vec2 fragmentPlace(int slot) {
    return Vec2(40 + (slot * 173) % 660, 60 + (slot * 97) % 480);
}

}  // namespace

BusyGame::BusyGame()
    : world_(std::make_unique<GameWorld>()),
      session_(*world_, SessionStart{kClock, kSeed, kDefaultClient}) {
    session_.start();
    session_.paint();
    if (replay(KOLVANE_BUSY_SCRIPT)) fill();
}

BusyGame::~BusyGame() = default;

bool BusyGame::replay(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        error_ = std::string("cannot read ") + path;
        return false;
    }
    Script script;
    if (!parseScript(text.str(), path, script, error_)) return false;
    for (const Command& c : script.commands) playCommand(session_, c);
    return true;
}

void BusyGame::fill() {
    GameWorld& w = *world_;
    Ship& ship = w.ship;
    GameState& game = w.game;
    if (!game.running) startGame(w, session_, &client_);
    if (!ship.isActive()) {
        ship.respawn(client_);
        game.respawnTimer = 0;
    }

    // Fragments at a small asteroid's speed for this level, each counted.
    const auto speed = static_cast<float>(game.level / 4.0);
    for (int slot = findFreeAsteroid(w.asteroids.data()); slot >= 0;
         slot = findFreeAsteroid(w.asteroids.data())) {
        w.asteroids[slot].spawn(&client_, kFragment, speed, fragmentPlace(slot), session_);
        game.asteroidsLeft += 1;
    }

    for (int i = 0; i < GameWorld::kSaucers; ++i) launchSaucer(w.saucers.data(), &client_, &ship);
    for (Saucer& s : w.saucers) {
        if (!s.bullet.isActive()) s.shoot();
    }

    for (int i = 0; i < Ship::kSlots; ++i) {
        ship.fire();
        for (int t = 0; t < kTurnsBetweenShots; ++t) ship.turnRight();
    }

    if (ship.getMissileCount() < kMissileStock) {
        ship.addMissiles(kMissileStock - ship.getMissileCount());
    }
    for (int i = 0; i < kBursts; ++i) ship.missileburst(w.asteroids.data());

    if (!w.powerUp.isActive()) w.powerUp.spawn(Vec2(150.0, 420.0), Vec2(1.0 / 9.0, -1.0 / 3.0));

    game.targetingAids = true;
    game.messageAge = 0;
    game.setMessage("Got targeting aids");
}

void BusyGame::keyDown(int key) {
    playCommand(session_, keyCommand(CommandKind::kDown, key));
}

void BusyGame::press(int key) {
    playCommand(session_, keyCommand(CommandKind::kPress, key));
}

void BusyGame::release(int key) {
    playCommand(session_, keyCommand(CommandKind::kUp, key));
}

void BusyGame::save() {
    saved_.resize(sizeof(GameWorld));
    std::memcpy(saved_.data(), static_cast<const void*>(world_.get()), sizeof(GameWorld));
    savedRandom_ = randomState();
}

void BusyGame::restore() {
    if (saved_.size() != sizeof(GameWorld)) return;
    std::memcpy(static_cast<void*>(world_.get()), saved_.data(), sizeof(GameWorld));
    kolvane::srand(savedRandom_);
}

BusyGame::Census BusyGame::census() const {
    const GameWorld& w = *world_;
    Census c;
    for (const Asteroid& a : w.asteroids) c.asteroids += a.isActive() ? 1 : 0;
    for (const Saucer& s : w.saucers) {
        c.saucers += s.isActive() ? 1 : 0;
        c.saucerShots += s.bullet.isActive() ? 1 : 0;
    }
    for (int i = 0; i < Ship::kSlots; ++i) {
        c.bullets += w.ship.bullet(i).isActive() ? 1 : 0;
        c.missiles += w.ship.missile(i).isActive() ? 1 : 0;
    }
    c.capsule = w.powerUp.isActive();
    c.targetingAids = w.game.targetingAids;
    c.message = w.game.messageText()[0] != '\0';
    return c;
}

}  // namespace kolvane::bench
