#pragma once
// The rules of a game: what each key does, how a game and a level start, and
// the three steps that run every tick while a game is on (bringing the ship
// back, launching saucers, and the interval after a level is cleared).
#include <cstdint>

#include "core/geometry.h"
#include "core/keys.h"

namespace kolvane {

class MessageBoxes;
class Platform;
struct GameWorld;

// Every key-down, in every state.
void handleKeyDown(GameWorld& world, Platform& platform, const Rect* client, KeyEvent key);

void startGame(GameWorld& world, MessageBoxes& boxes, const Rect* client);
void newLevel(GameWorld& world, MessageBoxes& boxes, int levelNumber, const Rect* client);

void stepRespawn(GameWorld& world, const Rect* client);
void stepSaucerLaunch(GameWorld& world, const Rect* client);
void stepLevelClear(GameWorld& world, MessageBoxes& boxes, const Rect* client);

}  // namespace kolvane
