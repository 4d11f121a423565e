#pragma once
// Gamepads as the game's keys, the same on every front end (SDL's game
// controllers, the web's Gamepad API, XInput): each front end reads its pads
// into a PadState once a tick and hands it here; what comes back are key
// events exactly like the keyboard's.
//
//   d-pad or left stick (past a dead zone)  the four arrows, held
//   south button (A / Cross)                Space
//   west and east buttons                   X
//   Start                                   S on the title screen, P during a
//                                           game, and while paused a key the
//                                           rules ignore (so it ends the pause)
//   Back / Select held, then Start          Escape
//
// Several pads may play at once: a key is held while any pad holds it, and
// every button press is a key-down of its own.
#include <array>
#include <cstdint>

#include "app/session/session.h"
#include "core/keys.h"

namespace kolvane {

struct GameWorld;

// One pad, by position of the buttons (the web's "standard" mapping: buttons
// 0 south, 1 east, 2 west, 8 back, 9 start, 12-15 d-pad up, down, left, right;
// axes 0 and 1 the left stick).
struct PadState {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    float stickX = 0.0f;  // -1 left to 1 right
    float stickY = 0.0f;  // -1 up to 1 down
    bool south = false;
    bool east = false;
    bool west = false;
    bool start = false;
    bool back = false;
};

// What Start does depends on where the game is.
enum class PadContext : std::uint8_t { kTitle, kPlaying, kPaused };
PadContext padContextOf(const GameWorld& world);

// A key event for the game: a key-down (never a repeat) or a key-up.
struct PadKeyEvent {
    int key = 0;
    bool down = false;
    friend bool operator==(const PadKeyEvent&, const PadKeyEvent&) = default;
};

struct PadKeyEvents {
    static constexpr int kCapacity = 16;
    std::array<PadKeyEvent, kCapacity> events{};
    int count = 0;
    void add(int key, bool down) {
        if (count < kCapacity) events[static_cast<std::size_t>(count++)] = {key, down};
    }
};

class GamepadKeys {
public:
    static constexpr int kMaxPads = 8;
    // The stick holds an arrow past kStickPress and lets it go below
    // kStickRelease, so a stick resting at the edge does not chatter.
    static constexpr float kStickPress = 0.5f;
    static constexpr float kStickRelease = 0.4f;

    // The new state of pad `slot` (0 to kMaxPads - 1): adds the key events
    // it makes to `out`. A pad unplugged is a pad with nothing pressed.
    void update(int slot, const PadState& pad, PadContext context, PadKeyEvents& out);

private:
    struct Pad {
        PadState last;
        bool stickUp = false, stickDown = false, stickLeft = false, stickRight = false;
        int startKey = 0;  // the key Start gave at its press
    };

    void hold(int key, PadKeyEvents& out);
    void release(int key, PadKeyEvents& out);
    void follow(bool was, bool is, int key, PadKeyEvents& out);

    std::array<Pad, kMaxPads> pads_{};
    std::array<std::uint8_t, 256> holders_{};  // how many pad inputs hold each key
};

// The key events a pad made, given to the session as the keyboard's would
// be; stops at a key-down that quits the game (Back with Start: Escape).
inline void sendPadKeys(const PadKeyEvents& events, Session& session) {
    for (int i = 0; i < events.count && !session.quitRequested(); ++i) {
        const PadKeyEvent& e = events.events[static_cast<std::size_t>(i)];
        if (e.down) {
            session.keyDown(KeyEvent{e.key, false});
        } else {
            session.keyUp(e.key);
        }
    }
}

}  // namespace kolvane
