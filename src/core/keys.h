#pragma once
// The game's keys: virtual-key codes name them (the codes Windows gives its
// keys, which every front end maps its own key events onto), a key-down event
// carries one, and the held keys are a table of 256 bytes.
#include <array>
#include <cstdint>

namespace kolvane {

// One byte per virtual-key code; a key is held when bit 0x80 is set.
using KeyboardState = std::array<std::uint8_t, 256>;
inline constexpr std::uint8_t kKeyHeld = 0x80;

// A key-down as the game sees it: the key's code, and whether the key was
// already down (an auto-repeat).
struct KeyEvent {
    int key = 0;
    bool repeat = false;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// Virtual-key codes the game and its front ends name.
namespace vk {
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kP = 0x50;
inline constexpr int kS = 0x53;
inline constexpr int kX = 0x58;
}  // namespace vk

}  // namespace kolvane
