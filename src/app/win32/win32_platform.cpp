#include "app/win32/win32_platform.h"

#include <ctime>

namespace kolvane::win32 {

void Win32Platform::readKeyboard(KeyboardState& keys) const {
    BYTE state[256] = {};
    if (GetKeyboardState(state) == 0) {
        keys.fill(0);
        return;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = state[i];
}

std::int32_t Win32Platform::timeSeconds() const {
    return static_cast<std::int32_t>(std::time(nullptr));
}

void Win32Platform::quit() {
    PostQuitMessage(0);
}

void Win32Platform::messageBox(const char* text, const char* caption) {
    MessageBoxA(window_, text, caption, MB_OK);
}

}  // namespace kolvane::win32
