#pragma once
// The frame cycle every front end drives: window creation, one 15 ms tick,
// one paint and key-down dispatch, each in the game's fixed order. Front ends
// pass the client rectangle with every call (it is re-read at every message)
// and copy the painted frame to the screen.
#include "core/geometry.h"
#include "core/keys.h"
#include "gfx/surface.h"

namespace kolvane {

class Platform;
struct GameWorld;

class FrameCycle {
public:
    FrameCycle(GameWorld& world, Platform& platform);

    void create(Rect client);
    void tick(Rect client);
    // Draws the whole frame into the surface and returns it.
    const gfx::Surface& paint(Rect client);
    void keyDown(Rect client, KeyEvent key);

    const gfx::Surface& frame() const { return surface_; }
    // Paints that run every step of the game's paint but draw no pixel.
    void discardPixels(bool discard) { surface_.setDiscard(discard); }
    GameWorld& world() { return world_; }

private:
    GameWorld& world_;
    Platform& platform_;
    Rect clientRect_{};
    gfx::Surface surface_;  // the off-screen buffer, kept for the whole run
};

}  // namespace kolvane
