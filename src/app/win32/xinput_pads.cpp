#include "app/win32/xinput_pads.h"

#include <cstddef>

#include "app/front_end/front_end_core.h"

namespace kolvane::win32 {

namespace {

// The newest first: Windows 8 on, then the one every Windows since Vista has.
constexpr std::array<const char*, 3> kLibraries{"xinput1_4.dll", "xinput9_1_0.dll",
                                                "xinput1_3.dll"};

bool pressed(WORD buttons, WORD button) {
    return (buttons & button) != 0;
}

// -32768..32767 as -1..1.
float axis(SHORT value) {
    return value < 0 ? static_cast<float>(value) / 32768.0f : static_cast<float>(value) / 32767.0f;
}

}  // namespace

PadState padStateOf(const XINPUT_GAMEPAD& pad) {
    const WORD b = pad.wButtons;
    PadState state;
    state.up = pressed(b, XINPUT_GAMEPAD_DPAD_UP);
    state.down = pressed(b, XINPUT_GAMEPAD_DPAD_DOWN);
    state.left = pressed(b, XINPUT_GAMEPAD_DPAD_LEFT);
    state.right = pressed(b, XINPUT_GAMEPAD_DPAD_RIGHT);
    state.stickX = axis(pad.sThumbLX);
    // XInput's stick counts up as positive; the mapping, down.
    state.stickY = -axis(pad.sThumbLY);
    state.south = pressed(b, XINPUT_GAMEPAD_A);
    state.east = pressed(b, XINPUT_GAMEPAD_B);
    state.west = pressed(b, XINPUT_GAMEPAD_X);
    state.start = pressed(b, XINPUT_GAMEPAD_START);
    state.back = pressed(b, XINPUT_GAMEPAD_BACK);
    return state;
}

XInputPads::XInputPads() {
    for (const char* name : kLibraries) {
        library_ = LoadLibraryA(name);
        if (library_ != nullptr) break;
    }
    if (library_ == nullptr) return;
    const FARPROC found = GetProcAddress(library_, "XInputGetState");
    getState_ = reinterpret_cast<GetState>(reinterpret_cast<void (*)()>(found));
}

XInputPads::~XInputPads() {
    if (library_ != nullptr) FreeLibrary(library_);
}

void XInputPads::poll(FrontEndCore& core) {
    if (getState_ == nullptr) return;
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (!connected_[i] && askAgainIn_[i]-- > 0) continue;
        XINPUT_STATE state{};
        const bool there = getState_(static_cast<DWORD>(slot), &state) == ERROR_SUCCESS;
        if (!there) askAgainIn_[i] = kEmptySlotTicks;
        if (!there && !connected_[i]) continue;
        connected_[i] = there;
        // A pad pulled out is a pad with nothing pressed: what it held is let go.
        core.padState(slot, there ? padStateOf(state.Gamepad) : PadState{});
    }
}

}  // namespace kolvane::win32
