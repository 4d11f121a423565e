#pragma once
// The held-key table a front end keeps from its key events: a key is held
// from its key-down to its key-up, and every key is let go when the window
// loses the keyboard (it will see no key-up for the keys then down).
#include <cstdint>

#include "core/keys.h"

namespace kolvane {

class HeldKeys {
public:
    void hold(int key) { keys_[index(key)] = kKeyHeld; }
    void release(int key) { keys_[index(key)] = 0; }
    void releaseAll() { keys_.fill(0); }
    bool isHeld(int key) const { return keys_[index(key)] != 0; }
    const KeyboardState& state() const { return keys_; }

private:
    static std::size_t index(int key) { return static_cast<std::uint8_t>(key); }

    KeyboardState keys_{};
};

}  // namespace kolvane
