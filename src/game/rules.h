#pragma once
// The rules of a game: what each key does, how a game and a level start, and
// the three steps that run every tick while a game is on (bringing the ship
// back, launching saucers, and the interval after a level is cleared).
#include <cstdint>

#include "core/geometry.h"

namespace kolvane {

class Platform;
struct World;

// Every key-down, in every state. keyData bit 30 marks an auto-repeat.
void handleKeyDown(World& world, Platform& platform, const Rect* client, int virtualKey,
                   std::int64_t keyData);

void startGame(World& world, Platform& platform, const Rect* client);
void newLevel(World& world, Platform& platform, int levelNumber, const Rect* client);

void stepRespawn(World& world, const Rect* client);
void stepSaucerLaunch(World& world, const Rect* client);
void stepLevelClear(World& world, Platform& platform, const Rect* client);

}  // namespace kolvane
