// A WM_KEYDOWN message as the game's key event: the code from wParam, the
// auto-repeat from bit 30 of lParam (the key's previous state).
#include "app/win32/key_event.h"

#include <gtest/gtest.h>

namespace kolvane::win32 {
namespace {

TEST(Win32KeyEvent, Bit30OfTheKeyDataMarksARepeat) {
    // A first press: repeat count 1, scan code of Space (0x39) in bits 16..23.
    EXPECT_EQ(keyEventFromMessage(VK_SPACE, 0x00390001), (KeyEvent{vk::kSpace, false}));
    EXPECT_EQ(keyEventFromMessage(VK_SPACE, 0x40390001), (KeyEvent{vk::kSpace, true}));
    // Other bits (extended key, repeat count) say nothing about a repeat.
    EXPECT_EQ(keyEventFromMessage(VK_LEFT, 0x014B0005), (KeyEvent{vk::kLeft, false}));
}

}  // namespace
}  // namespace kolvane::win32
