#pragma once
// What a front end's session is for: playing the game (playing.h), or
// watching a recording (watching.h). The core (front_end_core.h) takes every
// window's events and hands them to the one mode chosen at start, which
// decides where each goes: the game's session, or the viewer. So a focus
// loss while watching lets go of the viewer's keys and never of the keys
// the recording holds.
#include <cstdint>

#include "app/front_end/gamepad_keys.h"
#include "app/session/session.h"
#include "core/keys.h"

namespace kolvane {

namespace gfx {
class Surface;
}

class SessionMode {
public:
    // Where the session starts, asked once as the window starts it: the
    // recording's start when watching; when playing, a server's ticket's
    // clock when there is one (session_ticket.h), else the wall clock's
    // second.
    virtual SessionStart sessionStart(std::int64_t wallClockSeconds) = 0;
    // Before session.start(): listeners that must hear it all.
    virtual void attach(Session& session) = 0;
    // After the first frame is shown: whatever it would have delayed.
    virtual void afterFirstFrame() = 0;

    virtual void keyDown(Session& session, KeyEvent key) = 0;
    virtual void keyUp(Session& session, int key) = 0;
    virtual void focusLost(Session& session) = 0;
    virtual void close(Session& session) = 0;
    virtual void padState(Session& session, int slot, const PadState& pad) = 0;
    // True once the program is to end.
    virtual bool ended(const Session& session) const = 0;

    // One tick of the window: returns how many ticks were painted (0: the
    // frame stays as it was).
    virtual int tick(Session& session) = 0;
    // The frame to show: the game's, or a copy with something drawn over it.
    virtual const gfx::Surface& shown(const Session& session) = 0;
    // The session ends: everything kept.
    virtual void finish(const Session& session) = 0;
    // The page is going away: what is kept, now.
    virtual void keepNow(const Session& /*session*/) {}

protected:
    ~SessionMode() = default;
};

}  // namespace kolvane
