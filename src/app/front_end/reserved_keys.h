#pragma once
// Keys between the player and the game, the same on every front end: the one
// code a key gets when it has no virtual-key code of its own, and the keys
// the front end keeps for itself, which never reach the game.
#include <array>
#include <cstdint>

#include "core/keys.h"

namespace kolvane {

// The code of every key without a virtual-key code of its own (F13 to F24,
// media keys, the extra keys of other layouts): 0xFF, what Windows itself
// gives such keys. The game's rules do nothing with it, so such a key, like
// any key, only ends a pause.
inline constexpr int kNeutralKey = 0xFF;

// Virtual-key codes the front ends take for themselves.
inline constexpr int kReturnKey = 0x0D;
inline constexpr int kF11Key = 0x7A;

enum class ReservedCommand : std::uint8_t { kNone, kToggleFullscreen };

// F11 and Alt+Enter toggle fullscreen. A key taken so is kept from the game
// from its key-down to its key-up, repeats included; every other key goes to
// the game.
class ReservedKeys {
public:
    struct Outcome {
        ReservedCommand command = ReservedCommand::kNone;
        bool forGame = true;
    };

    // A key-down, with whether an Alt key is held.
    Outcome keyDown(KeyEvent key, bool altHeld);
    // A key-up: true when the game gets it.
    bool keyUp(int key);

private:
    static std::size_t index(int key) { return static_cast<std::uint8_t>(key); }

    std::array<bool, 256> taken_{};
};

}  // namespace kolvane
