#pragma once
// Watching a recording in a window: the recording's commands played into a
// session at the window's pace, through playCommand. Each tick of the window
// plays one tick of the recording (four while Right is held), with the key
// events recorded before it; Space pauses and resumes, Escape stops. These
// keys are the viewer's: none of them reaches the replayed game. When the
// recording runs out (or its own Escape ends the game) the last frame stays.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "app/session/script.h"
#include "app/session/session.h"

namespace kolvane {

class ReplayViewer {
public:
    static constexpr int kFastTicks = 4;

    // Takes the script over: a day's recording is held once (move it in).
    explicit ReplayViewer(Script script) : script_(std::move(script)) {}

    // The window's keys while watching.
    void keyDown(KeyEvent key);
    void keyUp(int key);
    // The window lost the keyboard: Right is no longer held.
    void releaseAllKeys() { fast_ = false; }
    // The window was closed.
    void stop() { stopped_ = true; }

    // One tick of the window: plays the recording's next tick (or four), with
    // the key events before it, into the started session. Returns how many
    // ticks were played (and painted): 0 while paused or after the end.
    int advance(Session& session);

    bool paused() const { return paused_; }
    bool fast() const { return fast_; }
    bool stopped() const { return stopped_; }
    // Nothing left to play.
    bool atEnd() const { return atEnd_; }

private:
    // The key events up to the next tick and that tick; false at the end.
    bool playOneTick(Session& session);

    Script script_;
    std::size_t next_ = 0;          // the next command
    std::int32_t ticksPlayed_ = 0;  // of the next command, when it is a tick run
    bool paused_ = false;
    bool fast_ = false;
    bool stopped_ = false;
    bool atEnd_ = false;
};

}  // namespace kolvane
