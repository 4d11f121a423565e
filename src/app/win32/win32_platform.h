#pragma once
// The game's platform on Win32: the held keys from GetKeyboardState, the clock
// from the C library's time, quitting by posting the quit message, and
// MessageBoxA for the message boxes.
#include <windows.h>

#include "core/platform.h"

namespace kolvane::win32 {

class Win32Platform final : public Platform {
public:
    void readKeyboard(KeyboardState& keys) const override;
    std::int32_t timeSeconds() const override;
    // PostQuitMessage(0): the message loop ends at the next GetMessageA.
    void quit() override;
    void messageBox(const char* text, const char* caption) override;

    // The window message boxes belong to; none until it exists.
    void setWindow(HWND window) { window_ = window; }

private:
    HWND window_ = nullptr;
};

}  // namespace kolvane::win32
