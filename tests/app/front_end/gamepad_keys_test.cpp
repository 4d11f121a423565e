// The gamepad's keys.
#include "app/front_end/gamepad_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/front_end/reserved_keys.h"

namespace kolvane {
namespace {

// The events of one update, as a list.
std::vector<PadKeyEvent> update(GamepadKeys& keys, int slot, const PadState& pad,
                                PadContext context = PadContext::kPlaying) {
    PadKeyEvents out;
    keys.update(slot, pad, context, out);
    return {out.events.begin(), out.events.begin() + out.count};
}

using Events = std::vector<PadKeyEvent>;

TEST(GamepadKeys, ButtonsAndDirectionsAreTheGameKeys) {
    GamepadKeys keys;
    PadState pad;
    pad.up = true;
    pad.south = true;
    EXPECT_EQ(update(keys, 0, pad), (Events{{vk::kUp, true}, {vk::kSpace, true}}));
    EXPECT_EQ(update(keys, 0, pad), Events{}) << "held, nothing new";
    pad.south = false;
    pad.west = true;
    EXPECT_EQ(update(keys, 0, pad), (Events{{vk::kSpace, false}, {vk::kX, true}}));
    pad.east = true;
    EXPECT_EQ(update(keys, 0, pad), (Events{{vk::kX, true}})) << "each press fires";
    pad.west = false;
    EXPECT_EQ(update(keys, 0, pad), Events{}) << "X still held by east";
    EXPECT_EQ(update(keys, 0, PadState{}), (Events{{vk::kUp, false}, {vk::kX, false}}));
}

TEST(GamepadKeys, TheStickHoldsArrowsPastItsDeadZone) {
    GamepadKeys keys;
    PadState pad;
    pad.stickX = -0.3f;
    pad.stickY = 0.3f;
    EXPECT_EQ(update(keys, 0, pad), Events{}) << "inside the dead zone";
    pad.stickX = -0.6f;
    pad.stickY = 0.9f;
    EXPECT_EQ(update(keys, 0, pad), (Events{{vk::kDown, true}, {vk::kLeft, true}}));
    pad.stickX = -0.45f;  // between release and press: still held
    EXPECT_EQ(update(keys, 0, pad), Events{});
    pad.left = true;  // the d-pad too: one key, still held
    pad.stickX = 0.0f;
    EXPECT_EQ(update(keys, 0, pad), Events{});
    pad.left = false;
    pad.stickY = 0.2f;
    EXPECT_EQ(update(keys, 0, pad), (Events{{vk::kDown, false}, {vk::kLeft, false}}));
}

TEST(GamepadKeys, StartFollowsTheGameAndBackWithStartQuits) {
    GamepadKeys keys;
    PadState start;
    start.start = true;
    EXPECT_EQ(update(keys, 0, start, PadContext::kTitle), (Events{{vk::kS, true}}));
    // Released during the game it started: the key it pressed is let go.
    EXPECT_EQ(update(keys, 0, PadState{}, PadContext::kPlaying), (Events{{vk::kS, false}}));
    EXPECT_EQ(update(keys, 0, start, PadContext::kPlaying), (Events{{vk::kP, true}}));
    EXPECT_EQ(update(keys, 0, PadState{}, PadContext::kPaused), (Events{{vk::kP, false}}));
    EXPECT_EQ(update(keys, 0, start, PadContext::kPaused), (Events{{kNeutralKey, true}}));
    EXPECT_EQ(update(keys, 0, PadState{}), (Events{{kNeutralKey, false}}));

    PadState back;
    back.back = true;
    EXPECT_EQ(update(keys, 0, back), Events{}) << "Back alone does nothing";
    back.start = true;
    EXPECT_EQ(update(keys, 0, back), (Events{{vk::kEscape, true}}));
}

TEST(GamepadKeys, AnyPadPlaysAndAKeyIsHeldWhileAnyPadHoldsIt) {
    GamepadKeys keys;
    PadState right;
    right.right = true;
    EXPECT_EQ(update(keys, 0, right), (Events{{vk::kRight, true}}));
    EXPECT_EQ(update(keys, 1, right), (Events{{vk::kRight, true}}));
    EXPECT_EQ(update(keys, 0, PadState{}), Events{});
    EXPECT_EQ(update(keys, 1, PadState{}), (Events{{vk::kRight, false}}));
    EXPECT_EQ(update(keys, GamepadKeys::kMaxPads, right), Events{}) << "no such slot";
}

}  // namespace
}  // namespace kolvane
