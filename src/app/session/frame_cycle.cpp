#include "app/session/frame_cycle.h"

#include "core/platform.h"
#include "core/random.h"
#include "game/collisions.h"
#include "game/game_world.h"
#include "game/rules.h"
#include "game/screen.h"
#include "ship/keyboard.h"

namespace kolvane {

namespace {
constexpr float kTitleAsteroidSpeed = 0.5f;
}

FrameCycle::FrameCycle(GameWorld& world, Platform& platform) : world_(world), platform_(platform) {}

void FrameCycle::create(Rect client) {
    clientRect_ = client;
    surface_.resize(client.right - client.left, client.bottom - client.top);
    for (int i = 0; i < 4; ++i) {
        world_.asteroids[i].spawn(&clientRect_, Asteroid::kLarge, kTitleAsteroidSpeed, Vec2{},
                                  platform_);
    }
    world_.game.running = false;
}

void FrameCycle::tick(Rect client) {
    clientRect_ = client;
    GameWorld& w = world_;
    if (!w.game.paused) {
        pollKeyboard(w.ship, w.game.running, platform_);
        if (w.game.running) {
            w.powerUp.update(&clientRect_);
            stepRespawn(w, &clientRect_);
            stepSaucerLaunch(w, &clientRect_);
            resolveCollisions(w, platform_, &clientRect_);
            w.ship.update(&clientRect_);
            stepLevelClear(w, platform_, &clientRect_);
        }
        for (Asteroid& a : w.asteroids) {
            if (a.isActive()) a.update(&clientRect_);
        }
        for (Saucer& s : w.saucers) s.update(&clientRect_);
    }
}

const gfx::Surface& FrameCycle::paint(Rect client) {
    clientRect_ = client;
    GameWorld& w = world_;
    surface_.newFrame(client.right - client.left, client.bottom - client.top);
    drawStarfield(surface_);
    for (Asteroid& a : w.asteroids) {
        if (a.isActive()) a.draw(surface_);
    }
    for (Saucer& s : w.saucers) s.draw(surface_);
    w.powerUp.draw(surface_);
    if (w.ship.isActive()) {
        w.ship.draw(surface_);
        if (w.game.targetingAids) drawTargetingAids(w, surface_);
    } else if (!w.game.running) {
        drawTitleScreen(surface_, clientRect_);
    }
    drawHud(w, surface_);
    drawMessage(w, surface_);
    return surface_;
}

void FrameCycle::keyDown(Rect client, KeyEvent key) {
    clientRect_ = client;
    handleKeyDown(world_, platform_, &clientRect_, key);
}

}  // namespace kolvane
