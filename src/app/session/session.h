#pragma once
// One game as every front end runs it: the frame cycle over a world, with the
// platform the game asks for. Key events go through one held-key table, and
// the clock is the replay clock: the second the session started plus the
// whole seconds of the ticks done, 15 ms each. So a session is a pure function
// of its start (second, seed, client) and its key events and ticks, in a
// window as in the replay runner. Listeners hear of each key event and tick
// after the game has handled it; they only read.
#include <array>
#include <cstdint>

#include "app/session/frame_cycle.h"
#include "app/session/held_keys.h"
#include "core/geometry.h"
#include "core/keys.h"
#include "core/platform.h"

namespace kolvane {

struct GameWorld;
class Session;

// What a session starts from: the clock's second, the generator's state and
// the client area.
struct SessionStart {
    std::int32_t clockSeconds = 1000000000;
    std::uint32_t seed = 1;
    Rect client{};
    friend bool operator==(const SessionStart&, const SessionStart&) = default;
};

class SessionListener {
public:
    // After window creation.
    virtual void started(const Session& /*session*/) {}
    virtual void keyDown(const Session& /*session*/, KeyEvent /*key*/) {}
    virtual void keyUp(const Session& /*session*/, int /*key*/) {}
    // After a tick (the frame not painted yet).
    virtual void ticked(const Session& /*session*/) {}

protected:
    ~SessionListener() = default;
};

class Session final : public Platform {
public:
    static constexpr int kMaxListeners = 4;

    // Seeds the generator and makes this session's clock the one it reads.
    Session(GameWorld& world, const SessionStart& start);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Where the game's message boxes go; without one they are dropped.
    void setMessageBoxes(MessageBoxes* boxes) { boxes_ = boxes; }
    // Listeners are kept until the session ends; false when there is no room.
    bool addListener(SessionListener& listener);

    // Window creation: the title screen. Its first frame is painted apart.
    void start();
    // One timer tick; the clock then counts it. Its frame is painted apart.
    void tick();
    // Draws the whole frame and returns it.
    const gfx::Surface& paint();
    // A key-down message; the key is held until keyUp.
    void keyDown(KeyEvent key);
    void keyUp(int key);
    // The window lost the keyboard: every held key is let go, each as a key-up.
    void releaseAllKeys();
    // Paints that change the game as every paint does (the message line's age,
    // the ship's invincibility) but draw no pixel: for replays that only need
    // the game's state, such as verification.
    void discardPixels(bool discard) { cycle_.discardPixels(discard); }
    // The client area for the messages that follow.
    void setClient(Rect client) { client_ = client; }

    bool quitRequested() const { return quitRequested_; }
    std::int64_t ticksDone() const { return ticksDone_; }
    const GameWorld& world() const { return world_; }
    GameWorld& world() { return world_; }
    const gfx::Surface& frame() const { return cycle_.frame(); }
    Rect client() const { return client_; }
    const SessionStart& startedFrom() const { return start_; }
    const HeldKeys& heldKeys() const { return held_; }

    // The platform of the game.
    void readKeyboard(KeyboardState& keys) const override { keys = held_.state(); }
    // The start second plus the whole seconds of the ticks done; the sum
    // wraps like a 32-bit clock.
    std::int32_t timeSeconds() const override;
    void quit() override { quitRequested_ = true; }
    void messageBox(const char* text, const char* caption) override;

private:
    GameWorld& world_;
    SessionStart start_;
    Rect client_;
    FrameCycle cycle_;
    HeldKeys held_;
    std::int64_t ticksDone_ = 0;
    bool quitRequested_ = false;
    MessageBoxes* boxes_ = nullptr;
    std::array<SessionListener*, kMaxListeners> listeners_{};
    int listenerCount_ = 0;
};

}  // namespace kolvane
