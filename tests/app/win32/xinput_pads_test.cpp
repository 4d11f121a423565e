// An XInput pad as the shared mapping reads pads: the buttons by position,
// the stick's up turned into the mapping's down-positive axis.
#include "app/win32/xinput_pads.h"

#include <gtest/gtest.h>

namespace kolvane::win32 {
namespace {

TEST(XInputPads, ButtonsByPositionAndTheStickUpIsNegative) {
    XINPUT_GAMEPAD pad{};
    pad.wButtons =
        XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_X | XINPUT_GAMEPAD_DPAD_LEFT | XINPUT_GAMEPAD_START;
    pad.sThumbLX = 32767;
    pad.sThumbLY = 32767;  // pushed up
    const PadState state = padStateOf(pad);
    EXPECT_TRUE(state.south);
    EXPECT_TRUE(state.west);
    EXPECT_FALSE(state.east);
    EXPECT_TRUE(state.left);
    EXPECT_FALSE(state.right);
    EXPECT_TRUE(state.start);
    EXPECT_FALSE(state.back);
    EXPECT_FLOAT_EQ(state.stickX, 1.0f);
    EXPECT_FLOAT_EQ(state.stickY, -1.0f);

    pad = XINPUT_GAMEPAD{};
    pad.wButtons = XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_BACK | XINPUT_GAMEPAD_DPAD_DOWN;
    pad.sThumbLX = -32768;
    pad.sThumbLY = -32768;  // pulled down
    const PadState other = padStateOf(pad);
    EXPECT_TRUE(other.east);
    EXPECT_TRUE(other.back);
    EXPECT_TRUE(other.down);
    EXPECT_FALSE(other.south);
    EXPECT_FLOAT_EQ(other.stickX, -1.0f);
    EXPECT_FLOAT_EQ(other.stickY, 1.0f);
}

}  // namespace
}  // namespace kolvane::win32
