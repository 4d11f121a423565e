#pragma once
// The mouse pointer over the game: hidden in fullscreen and while a game is
// played; shown on the title screen and in a paused game in a window.
#include "game/game_world.h"

namespace kolvane {

inline bool pointerHidden(bool fullscreen, const GameWorld& world) {
    return fullscreen || (world.game.running && !world.game.paused);
}

}  // namespace kolvane
