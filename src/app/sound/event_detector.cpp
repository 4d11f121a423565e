#include "app/sound/event_detector.h"

#include <string_view>

namespace kolvane::sound {

namespace {

// Points the game gives (and the award), as the collision pass and the
// level-clear step add them within one tick.
constexpr std::int32_t kLargePoints = 25;
constexpr std::int32_t kSmallPoints = 50;
constexpr std::int32_t kSaucerPoints = 100;
constexpr std::int32_t kAwardPoints = 750;

// Shots told apart by what they were fired with.
constexpr std::int32_t kSuperbulletLifetime = 1000;
constexpr std::int32_t kSpreadSpeed = 10;
// A jump sets the cooldown to this; it counts down from the next tick.
constexpr std::int32_t kJumpCooldown = 100;

bool inView(const Vec2& p, const Rect& client) {
    return p.getX() >= client.left && p.getX() <= client.right && p.getY() >= client.top &&
           p.getY() <= client.bottom;
}

// The ship's new bullets: a primary shot, a fan of five, or a superbullet.
void shipShots(const GameSnapshot& was, const GameSnapshot& now, const GameWorld& world,
               SoundCues& cues) {
    for (int j = 0; j < Ship::kSlots; ++j) {
        if (was.bullets[j] || !now.bullets[j]) continue;
        const Bullet& b = world.ship.bullet(j);
        if (b.getLifetime() == kSuperbulletLifetime) {
            cues.starts.add(Sound::kSuperbullet);
        } else if (b.getSpeed() == kSpreadSpeed) {
            cues.starts.add(Sound::kSpreadfire);
        } else {
            cues.starts.add(Sound::kShot);
        }
    }
    for (int j = 0; j < Ship::kSlots; ++j) {
        if (was.missiles[j] || !now.missiles[j]) continue;
        cues.starts.add(now.special == kMissileburst ? Sound::kMissileburst : Sound::kMissile);
    }
}

// A capsule's effect, as its message line says it; when the level-clear
// announcement replaced that line in the same tick, as the state shows it.
Sound capsuleSound(const GameSnapshot& was, const GameSnapshot& now, const GameWorld& world) {
    const std::string_view text = world.game.messageText();
    if (text.starts_with("Special: changed to")) return Sound::kCapsuleWeapon;
    if (text == "Got 10 missiles") return Sound::kCapsuleMissiles;
    if (text == "Extra life!") return Sound::kCapsuleLife;
    if (text == "Got targeting aids") return Sound::kCapsuleTargetingAids;
    if (text == "Temporary invincibility") return Sound::kCapsuleInvincibility;
    if (now.special != was.special) return Sound::kCapsuleWeapon;
    if (now.targetingAids && !was.targetingAids) return Sound::kCapsuleTargetingAids;
    if (now.lives > was.lives) return Sound::kCapsuleLife;
    if (now.missileCount > was.missileCount) return Sound::kCapsuleMissiles;
    return Sound::kCapsuleInvincibility;
}

// Rocks, saucers and the award from what a tick added to the score: the
// rocks gone are counted off asteroidsLeft, the large ones among them by the
// large rocks still in play (none appears within a level), and what the
// score gained beyond them is 100 a saucer, plus 750 when the award is paid
// as the next level starts (750 is the only gain that is not a multiple of 100).
void tickScore(const GameSnapshot& was, const GameSnapshot& now, SoundCues& cues) {
    const bool nextLevel = now.level != was.level;
    std::int32_t large = 0;
    std::int32_t small = 0;
    if (!nextLevel) {
        large = was.largeAsteroids - now.largeAsteroids;
        small = was.asteroidsLeft - now.asteroidsLeft - large;
    }
    if (large > 0) cues.starts.add(Sound::kLargeRockDestroyed);
    if (small > 0) cues.starts.add(Sound::kSmallRockDestroyed);
    std::int32_t rest = now.score - was.score - large * kLargePoints - small * kSmallPoints;
    if (nextLevel && rest >= kAwardPoints && rest % kSaucerPoints == kAwardPoints % kSaucerPoints) {
        cues.starts.add(Sound::kMarksmanshipAward);
        rest -= kAwardPoints;
    }
    if (rest >= kSaucerPoints) cues.starts.add(Sound::kSaucerDestroyed);
    if (was.asteroidsLeft > 0 && now.asteroidsLeft == 0) cues.starts.add(Sound::kLevelCleared);
}

void saucers(const GameSnapshot& was, const GameSnapshot& now, SoundCues& cues) {
    for (int k = 0; k < GameWorld::kSaucers; ++k) {
        if (!was.saucers[k] && now.saucers[k]) cues.starts.add(Sound::kSaucerAppears);
        // A new shot, or a shot fired again in the tick its last one was spent.
        const bool newShot = now.saucerShots[k] &&
                             (!was.saucerShots[k] || now.saucerShotAges[k] < was.saucerShotAges[k]);
        if (now.saucers[k] && newShot) cues.starts.add(Sound::kSaucerShot);
    }
}

void teleport(const GameSnapshot& was, const GameSnapshot& now, SoundCues& cues) {
    if (!now.shipActive) return;
    if (was.teleportCharge == 0 && now.teleportCharge > 0) cues.starts.add(Sound::kTeleportCharge);
    if (was.teleportCharge > 0 && now.teleportCharge == 0 &&
        now.teleportCooldown == kJumpCooldown) {
        cues.starts.add(Sound::kTeleportJump);
    }
}

// The repulsor leaves no trace but the push it gives every rock.
bool rocksPushed(const GameSnapshot& was, const GameSnapshot& now) {
    return was.asteroidVelocities != now.asteroidVelocities;
}

}  // namespace

GameSnapshot takeSnapshot(const GameWorld& world, const HeldKeys& keys, Rect client) {
    const GameState& game = world.game;
    const Ship& ship = world.ship;
    GameSnapshot s;
    s.running = game.running;
    s.paused = game.paused;
    s.shipActive = ship.isActive();
    s.thrustHeld =
        game.running && ship.isActive() && (keys.isHeld(vk::kUp) || keys.isHeld(vk::kDown));
    s.level = game.level;
    s.score = game.score;
    s.asteroidsLeft = game.asteroidsLeft;
    s.teleportCharge = ship.teleportCharge;
    s.teleportCooldown = ship.teleportCooldown;
    s.capsule = world.powerUp.isActive();
    s.capsuleAge = world.powerUp.getAge();
    s.lives = ship.getLives();
    s.missileCount = ship.getMissileCount();
    s.special = game.special;
    s.targetingAids = game.targetingAids;
    for (int j = 0; j < Ship::kSlots; ++j) {
        s.bullets[j] = ship.bullet(j).isActive();
        s.missiles[j] = ship.missile(j).isActive();
    }
    for (int k = 0; k < GameWorld::kSaucers; ++k) {
        const Saucer& saucer = world.saucers[k];
        s.saucers[k] = saucer.isActive();
        s.saucerShots[k] = saucer.bullet.isActive();
        s.saucerShotAges[k] = saucer.bullet.getAge();
        if (saucer.isActive() && inView(saucer.getPosition(), client)) s.saucerInView = true;
    }
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        const Asteroid& a = world.asteroids[i];
        s.asteroidVelocities[i] = a.getVelocity();
        if (a.isActive() && a.getSize() == Asteroid::kLarge) ++s.largeAsteroids;
    }
    return s;
}

SoundCues deriveCues(const GameSnapshot& was, const GameSnapshot& now, const GameWorld& world,
                     Origin origin) {
    SoundCues cues;
    // The title screen is silent: only a game, and the tick that ends it, sounds.
    if (!was.running && !now.running) return cues;

    shipShots(was, now, world, cues);
    if (origin == Origin::kKey && was.running && now.running && rocksPushed(was, now)) {
        cues.starts.add(Sound::kRepulsor);
    }
    teleport(was, now, cues);
    if (origin == Origin::kTick) {
        tickScore(was, now, cues);
        saucers(was, now, cues);
        if (was.shipActive && !now.shipActive) cues.starts.add(Sound::kShipDestroyed);
        if (was.running && !now.running) cues.starts.add(Sound::kGameOver);
        if (was.capsule && !now.capsule && was.capsuleAge + 1 < PowerUp::kLifetime) {
            cues.starts.add(capsuleSound(was, now, world));
        }
    }
    if (!was.thrustHeld && now.thrustHeld) cues.starts.add(Sound::kThrustStart);
    if (was.thrustHeld && !now.thrustHeld && now.shipActive && now.running) {
        cues.starts.add(Sound::kThrustStop);
    }
    // Loops stop while the game is paused and go on when it goes on.
    cues.thrusting = now.thrustHeld && !now.paused;
    cues.saucerHum = now.running && now.saucerInView && !now.paused;
    return cues;
}

void EventDetector::started(const Session& session) {
    last_ = takeSnapshot(session.world(), session.heldKeys(), session.client());
    primed_ = true;
}

void EventDetector::keyDown(const Session& session, KeyEvent /*key*/) {
    observe(session, Origin::kKey);
}

void EventDetector::keyUp(const Session& session, int /*key*/) {
    observe(session, Origin::kKey);
}

void EventDetector::ticked(const Session& session) {
    observe(session, Origin::kTick);
}

void EventDetector::observe(const Session& session, Origin origin) {
    const GameSnapshot now = takeSnapshot(session.world(), session.heldKeys(), session.client());
    // Heard for the first time mid-game: nothing to compare with yet.
    if (!primed_) last_ = now;
    primed_ = true;
    sink_.cue(deriveCues(last_, now, session.world(), origin));
    last_ = now;
}

}  // namespace kolvane::sound
