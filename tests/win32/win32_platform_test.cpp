// The Win32 platform: held keys come from the thread's keyboard state, the
// clock is the C library's, and quitting posts the quit message with code 0.
#include "app/win32/win32_platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>

namespace kolvane::win32 {
namespace {

TEST(Win32Platform, ReadsTheHeldKeysFromTheKeyboardState) {
    BYTE saved[256] = {};
    ASSERT_NE(GetKeyboardState(saved), 0);
    BYTE state[256] = {};
    state[VK_LEFT] = 0x80;
    state[VK_UP] = 0x81;
    state[VK_CAPITAL] = 0x01;  // toggled, not held
    ASSERT_NE(SetKeyboardState(state), 0);

    Win32Platform platform;
    KeyboardState keys{};
    keys.fill(0xFF);
    platform.readKeyboard(keys);
    SetKeyboardState(saved);

    EXPECT_EQ(keys[vk::kLeft], 0x80);
    EXPECT_EQ(keys[vk::kUp], 0x81);
    EXPECT_EQ(keys[vk::kRight], 0);
    EXPECT_EQ(keys[VK_CAPITAL], 0x01);
    EXPECT_EQ(keys[0], 0);
}

TEST(Win32Platform, TheClockIsTheCLibrarysTime) {
    Win32Platform platform;
    const auto before = static_cast<std::int32_t>(std::time(nullptr));
    const std::int32_t now = platform.timeSeconds();
    const auto after = static_cast<std::int32_t>(std::time(nullptr));
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST(Win32Platform, QuitPostsTheQuitMessageWithCodeZero) {
    Win32Platform platform;
    platform.quit();
    MSG message{};
    ASSERT_NE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), 0);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
}  // namespace kolvane::win32
