#pragma once
// The sound's events, read from the game's own state. After every key-down,
// key-up and tick the detector compares what the game holds now with the
// snapshot it kept after the previous one and tells its sink which sounds
// start now and which loops should be playing. It only reads: it never writes
// to the world, never draws a random number and never runs inside a tick.
// The rule behind each event is in docs/sound.md.
#include <array>
#include <cstdint>

#include "app/session/session.h"
#include "app/sound/sounds.h"
#include "core/vec2.h"
#include "game/game_world.h"

namespace kolvane::sound {

// What the game asks of the sound after one key event or tick.
struct SoundCues {
    SoundSet starts;         // one-shot sounds that start now
    bool thrusting = false;  // the thrust loop plays
    bool saucerHum = false;  // the saucer's hum plays
    friend bool operator==(const SoundCues&, const SoundCues&) = default;
};

class SoundCueSink {
public:
    virtual void cue(const SoundCues& cues) = 0;

protected:
    ~SoundCueSink() = default;
};

// What the detector keeps of the game between two events.
struct GameSnapshot {
    // The game.
    bool running = false;
    bool paused = false;
    float level = 0.0f;
    std::int32_t score = 0;
    std::int32_t asteroidsLeft = 0;
    std::int32_t largeAsteroids = 0;  // in play
    std::int32_t special = 0;
    bool targetingAids = false;
    // The ship.
    bool shipActive = false;
    bool thrustHeld = false;  // in a game, the ship active and Up or Down held
    std::int32_t lives = 0;
    std::int32_t missileCount = 0;
    std::int32_t teleportCharge = 0;
    std::int32_t teleportCooldown = 0;
    std::array<bool, Ship::kSlots> bullets{};
    std::array<bool, Ship::kSlots> missiles{};
    // The rocks, the saucers and the capsule.
    std::array<Vec2, GameWorld::kAsteroids> asteroidVelocities{};
    std::array<bool, GameWorld::kSaucers> saucers{};
    std::array<bool, GameWorld::kSaucers> saucerShots{};
    std::array<std::int32_t, GameWorld::kSaucers> saucerShotAges{};
    bool saucerInView = false;  // an active saucer's centre lies inside the client area
    bool capsule = false;
    std::int32_t capsuleAge = 0;
};

GameSnapshot takeSnapshot(const GameWorld& world, const HeldKeys& keys, Rect client);

// Where a change came from: a key event (the weapons) or a tick (everything else).
enum class Origin : std::uint8_t { kKey, kTick };

// The cues for the change from `was` to `now` (`world` is the game as `now` saw it).
SoundCues deriveCues(const GameSnapshot& was, const GameSnapshot& now, const GameWorld& world,
                     Origin origin);

class EventDetector final : public SessionListener {
public:
    explicit EventDetector(SoundCueSink& sink) : sink_(sink) {}

    void started(const Session& session) override;
    void keyDown(const Session& session, KeyEvent key) override;
    void keyUp(const Session& session, int key) override;
    void ticked(const Session& session) override;

private:
    void observe(const Session& session, Origin origin);

    SoundCueSink& sink_;
    GameSnapshot last_;
    bool primed_ = false;
};

}  // namespace kolvane::sound
