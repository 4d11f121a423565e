#include "app/front_end/gamepad_keys.h"

#include "app/front_end/reserved_keys.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

// Whether a stick held towards one side still does (or now does).
bool stickHolds(bool held, float towards) {
    return held ? towards > GamepadKeys::kStickRelease : towards > GamepadKeys::kStickPress;
}

}  // namespace

PadContext padContextOf(const GameWorld& world) {
    if (!world.game.running) return PadContext::kTitle;
    return world.game.paused ? PadContext::kPaused : PadContext::kPlaying;
}

void GamepadKeys::hold(int key, PadKeyEvents& out) {
    std::uint8_t& holders = holders_[static_cast<std::uint8_t>(key)];
    if (holders < 255) ++holders;
    out.add(key, true);
}

void GamepadKeys::release(int key, PadKeyEvents& out) {
    std::uint8_t& holders = holders_[static_cast<std::uint8_t>(key)];
    if (holders == 0) return;
    if (--holders == 0) out.add(key, false);
}

void GamepadKeys::follow(bool was, bool is, int key, PadKeyEvents& out) {
    if (is && !was) hold(key, out);
    if (was && !is) release(key, out);
}

void GamepadKeys::update(int slot, const PadState& pad, PadContext context, PadKeyEvents& out) {
    if (slot < 0 || slot >= kMaxPads) return;
    Pad& p = pads_[static_cast<std::size_t>(slot)];
    const PadState& last = p.last;

    const bool stickUp = stickHolds(p.stickUp, -pad.stickY);
    const bool stickDown = stickHolds(p.stickDown, pad.stickY);
    const bool stickLeft = stickHolds(p.stickLeft, -pad.stickX);
    const bool stickRight = stickHolds(p.stickRight, pad.stickX);
    follow(last.up || p.stickUp, pad.up || stickUp, vk::kUp, out);
    follow(last.down || p.stickDown, pad.down || stickDown, vk::kDown, out);
    follow(last.left || p.stickLeft, pad.left || stickLeft, vk::kLeft, out);
    follow(last.right || p.stickRight, pad.right || stickRight, vk::kRight, out);

    follow(last.south, pad.south, vk::kSpace, out);
    follow(last.west, pad.west, vk::kX, out);
    follow(last.east, pad.east, vk::kX, out);

    if (pad.start && !last.start) {
        // Back held first makes Start quit, so that no single button can.
        if (pad.back) {
            p.startKey = vk::kEscape;
        } else if (context == PadContext::kTitle) {
            p.startKey = vk::kS;
        } else {
            // P again while paused would pause again, as the rules want for P.
            p.startKey = context == PadContext::kPlaying ? vk::kP : kNeutralKey;
        }
        hold(p.startKey, out);
    } else if (last.start && !pad.start) {
        release(p.startKey, out);
    }

    p.last = pad;
    p.stickUp = stickUp;
    p.stickDown = stickDown;
    p.stickLeft = stickLeft;
    p.stickRight = stickRight;
}

}  // namespace kolvane
