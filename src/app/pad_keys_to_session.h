#pragma once
// The key events a gamepad made, given to the session as the keyboard's
// would be: every front end with pads hands them over the same way.
#include <cstddef>

#include "app/gamepad_keys.h"
#include "app/session.h"

namespace kolvane {

// Stops at a key-down that quits the game (Back with Start: Escape).
inline void sendPadKeys(const PadKeyEvents& events, Session& session) {
    for (int i = 0; i < events.count && !session.quitRequested(); ++i) {
        const PadKeyEvent& e = events.events[static_cast<std::size_t>(i)];
        if (e.down) {
            session.keyDown(KeyEvent{e.key, false});
        } else {
            session.keyUp(e.key);
        }
    }
}

}  // namespace kolvane
