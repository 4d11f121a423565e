#include "ship/keyboard.h"

#include "core/platform.h"
#include "game/game_state.h"
#include "ship/ship.h"

namespace kolvane {

namespace {
constexpr std::uint8_t kHeld = 0x80;
}

void pollKeyboard(Ship& ship, const GameState& game, const Platform& platform) {
    KeyboardState keys{};
    platform.readKeyboard(keys);
    if (!game.running) return;

    const bool left = (keys[vk::kLeft] & kHeld) != 0;
    const bool right = (keys[vk::kRight] & kHeld) != 0;
    // The ship's own state is not consulted: a dead ship's turns and thrust
    // are undone by the next respawn.
    if (left) ship.turnLeft();
    if (right) ship.turnRight();
    if (left && right) ship.brake();  // after both turns, which cancel out
    if ((keys[vk::kUp] & kHeld) != 0) ship.thrust(Ship::kForwardThrust);
    if ((keys[vk::kDown] & kHeld) != 0) ship.thrust(Ship::kReverseThrust);
}

}  // namespace kolvane
