#pragma once
// Gamepads in the Win32 window through XInput (Xbox pads and every pad that
// speaks it): the four XInput slots read once a tick and turned into the
// game's keys by the shared mapping (gamepad_keys.h). The XInput DLL that
// Windows ships is loaded when the window opens, so the .exe imports nothing
// more; without it, or without a pad, nothing changes.
#include <windows.h>
// After windows.h, whose types it uses.
#include <xinput.h>

#include <array>

#include "app/front_end/gamepad_keys.h"

namespace kolvane {
class FrontEndCore;
}

namespace kolvane::win32 {

// One XInput pad as the shared mapping reads pads.
PadState padStateOf(const XINPUT_GAMEPAD& pad);

class XInputPads {
public:
    static constexpr int kSlots = 4;
    // An empty slot is asked again only this many ticks later (about 2 s):
    // XInput can take milliseconds to say that no pad is there.
    static constexpr int kEmptySlotTicks = 128;

    XInputPads();
    ~XInputPads();
    XInputPads(const XInputPads&) = delete;
    XInputPads& operator=(const XInputPads&) = delete;

    // Reads every pad and hands its state to the core.
    void poll(FrontEndCore& core);

private:
    using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

    HMODULE library_ = nullptr;
    GetState getState_ = nullptr;
    std::array<bool, kSlots> connected_{};
    std::array<int, kSlots> askAgainIn_{};
};

}  // namespace kolvane::win32
