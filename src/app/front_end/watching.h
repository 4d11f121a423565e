#pragma once
// Watching a recording (the window's --replay, the watch page): every key,
// focus loss and close is the viewer's (replay_viewer.h), and nothing of the
// window reaches the replayed game; gamepads are not read.
#include "app/front_end/session_mode.h"
#include "app/replay/replay_viewer.h"
#include "app/session/script.h"

namespace kolvane {

class Watching final : public SessionMode {
public:
    explicit Watching(Script script);

    SessionStart sessionStart(std::int64_t wallClockSeconds) override;
    void attach(Session& /*session*/) override {}
    void afterFirstFrame() override {}
    void keyDown(Session& session, KeyEvent key) override;
    void keyUp(Session& session, int key) override;
    void focusLost(Session& session) override;
    void close(Session& session) override;
    void padState(Session& /*session*/, int /*slot*/, const PadState& /*pad*/) override {}
    bool ended(const Session& session) const override;
    int tick(Session& session) override;
    const gfx::Surface& shown(const Session& session) override;
    void finish(const Session& /*session*/) override {}

    const ReplayViewer& viewer() const { return viewer_; }

private:
    SessionStart start_;
    ReplayViewer viewer_;
};

}  // namespace kolvane
