#pragma once
// The held arrow keys, read once per tick.
namespace kolvane {

class Keyboard;
class Ship;

// Left and right turn, both together also brake, up thrusts, down thrusts
// backwards; only while a game runs (gameRunning), whatever the ship's state.
void pollKeyboard(Ship& ship, bool gameRunning, const Keyboard& keyboard);

}  // namespace kolvane
