#include "app/front_end/reserved_keys.h"

namespace kolvane {

ReservedKeys::Outcome ReservedKeys::keyDown(KeyEvent key, bool altHeld) {
    bool& taken = taken_[index(key.key)];
    // A repeat belongs to whoever had the key's first key-down.
    const bool world = worldKey_ && key.key == kF9Key;
    if (!key.repeat) taken = key.key == kF11Key || (key.key == kReturnKey && altHeld) || world;
    if (!taken) return {};
    if (key.repeat) return {ReservedCommand::kNone, false};
    return {world ? ReservedCommand::kToggleWorldScores : ReservedCommand::kToggleFullscreen,
            false};
}

bool ReservedKeys::keyUp(int key) {
    bool& taken = taken_[index(key)];
    const bool forGame = !taken;
    taken = false;
    return forGame;
}

}  // namespace kolvane
