#pragma once
// The held arrow keys, read once per tick.
namespace kolvane {

class Platform;
class Ship;
struct GameState;

// Left and right turn, both together also brake, up thrusts, down thrusts
// backwards; only while a game runs, whatever the ship's state.
void pollKeyboard(Ship& ship, const GameState& game, const Platform& platform);

}  // namespace kolvane
