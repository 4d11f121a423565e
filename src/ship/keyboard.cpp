#include "ship/keyboard.h"

#include "core/platform.h"
#include "ship/ship.h"

namespace kolvane {

void pollKeyboard(Ship& ship, bool gameRunning, const Keyboard& keyboard) {
    KeyboardState keys{};
    keyboard.readKeyboard(keys);
    if (!gameRunning) return;

    const bool left = (keys[vk::kLeft] & kKeyHeld) != 0;
    const bool right = (keys[vk::kRight] & kKeyHeld) != 0;
    // The ship's own state is not consulted: a dead ship's turns and thrust
    // are undone by the next respawn.
    if (left) ship.turnLeft();
    if (right) ship.turnRight();
    if (left && right) ship.brake();  // after both turns, which cancel out
    if ((keys[vk::kUp] & kKeyHeld) != 0) ship.thrust(Ship::kForwardThrust);
    if ((keys[vk::kDown] & kKeyHeld) != 0) ship.thrust(Ship::kReverseThrust);
}

}  // namespace kolvane
