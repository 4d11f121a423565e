#include "app/replay/replay_viewer.h"

#include "app/session/script_player.h"

namespace kolvane {

void ReplayViewer::keyDown(KeyEvent key) {
    if (key.key == vk::kEscape) stopped_ = true;
    if (key.key == vk::kSpace && !key.repeat) paused_ = !paused_;
    if (key.key == vk::kRight) fast_ = true;
}

void ReplayViewer::keyUp(int key) {
    if (key == vk::kRight) fast_ = false;
}

int ReplayViewer::advance(Session& session) {
    if (paused_ || stopped_) return 0;
    const int wanted = fast_ ? kFastTicks : 1;
    int played = 0;
    while (played < wanted && playOneTick(session)) ++played;
    return played;
}

bool ReplayViewer::playOneTick(Session& session) {
    while (!atEnd_ && next_ < script_.commands.size()) {
        const Command& command = script_.commands[next_];
        if (command.kind == CommandKind::kTick) {
            playCommand(session, tickCommand(1));
            if (++ticksPlayed_ == command.count) {
                ticksPlayed_ = 0;
                ++next_;
            }
            return true;
        }
        ++next_;
        // A key event; Escape in the recording ends its game, and the watching.
        if (!playCommand(session, command)) atEnd_ = true;
    }
    atEnd_ = true;
    return false;
}

}  // namespace kolvane
