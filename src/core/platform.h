#pragma once
// What the game asks of the system it runs on. Each front end (the SDL window,
// the replay runner) implements this one small interface; game code never
// sees anything else of the platform.
#include <array>
#include <cstdint>

namespace kolvane {

// One byte per virtual-key code; a key is held when bit 0x80 is set.
using KeyboardState = std::array<std::uint8_t, 256>;

class Platform {
public:
    // The state of every key at this moment.
    virtual void readKeyboard(KeyboardState& keys) const = 0;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual std::int32_t timeSeconds() const = 0;
    // Ends the program's message loop (exit code 0).
    virtual void quit() = 0;
    // A modal box with one OK button; returns when it is dismissed.
    virtual void messageBox(const char* text, const char* caption) = 0;

protected:
    ~Platform() = default;
};

// Virtual-key codes the game uses.
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

// Bit 30 of a key-down's key data: the key was already down (an auto-repeat).
inline constexpr std::int64_t kKeyRepeatBit = std::int64_t{1} << 30;

}  // namespace kolvane
