#include "app/front_end/watching.h"

#include <utility>

#include "app/session/script_player.h"

namespace kolvane {

Watching::Watching(Script script)
    : start_(sessionStartOf(script.settings)), viewer_(std::move(script)) {}

SessionStart Watching::sessionStart(std::int64_t /*wallClockSeconds*/) {
    return start_;
}

void Watching::keyDown(Session& /*session*/, KeyEvent key) {
    viewer_.keyDown(key);
}

void Watching::keyUp(Session& /*session*/, int key) {
    viewer_.keyUp(key);
}

void Watching::focusLost(Session& /*session*/) {
    // The recording's held keys stay held: they are the recording's.
    viewer_.releaseAllKeys();
}

void Watching::close(Session& /*session*/) {
    viewer_.stop();
}

bool Watching::ended(const Session& /*session*/) const {
    return viewer_.stopped();
}

int Watching::tick(Session& session) {
    // Paused or at its end, the frame stays.
    return viewer_.advance(session);
}

const gfx::Surface& Watching::shown(const Session& session) {
    return session.frame();
}

}  // namespace kolvane
