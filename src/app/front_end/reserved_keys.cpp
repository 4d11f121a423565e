#include "app/front_end/reserved_keys.h"

namespace kolvane {

ReservedKeys::Outcome ReservedKeys::keyDown(KeyEvent key, bool altHeld) {
    bool& taken = taken_[index(key.key)];
    // A repeat belongs to whoever had the key's first key-down.
    if (!key.repeat) taken = key.key == kF11Key || (key.key == kReturnKey && altHeld);
    if (!taken) return {};
    return {key.repeat ? ReservedCommand::kNone : ReservedCommand::kToggleFullscreen, false};
}

bool ReservedKeys::keyUp(int key) {
    bool& taken = taken_[index(key)];
    const bool forGame = !taken;
    taken = false;
    return forGame;
}

}  // namespace kolvane
