#pragma once
// A WM_KEYDOWN message as the game's key event: wParam is the virtual-key
// code, and bit 30 of lParam (the key's previous state) marks an auto-repeat.
#include <windows.h>

#include "core/keys.h"

namespace kolvane::win32 {

inline KeyEvent keyEventFromMessage(WPARAM wParam, LPARAM lParam) {
    constexpr LPARAM kPreviousStateBit = LPARAM{1} << 30;
    return KeyEvent{static_cast<int>(wParam & 0xFF), (lParam & kPreviousStateBit) != 0};
}

}  // namespace kolvane::win32
