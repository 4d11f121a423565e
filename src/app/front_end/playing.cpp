#include "app/front_end/playing.h"

#include "app/session/tick_and_field.h"
#include "game/game_world.h"

namespace kolvane {

bool Playing::useTicket(const SessionTicket& ticket) {
    if (!isUsableTicket(ticket)) return false;
    ticket_ = ticket;
    return true;
}

SessionStart Playing::sessionStart(std::int64_t wallClockSeconds) {
    const std::int32_t clock =
        ticket_.token.empty() ? static_cast<std::int32_t>(wallClockSeconds) : ticket_.clockSeconds;
    return SessionStart{clock, 1, kDefaultClient};
}

void Playing::attach(Session& session) {
    kept_.attach(session, ticket_.token);
}

void Playing::afterFirstFrame() {
    kept_.open();
    refreshTable();
}

void Playing::keyDown(Session& session, KeyEvent key) {
    session.keyDown(key);
}

void Playing::keyUp(Session& session, int key) {
    session.keyUp(key);
}

void Playing::focusLost(Session& session) {
    // No key-up comes for the keys down now.
    session.releaseAllKeys();
}

void Playing::close(Session& session) {
    session.quit();
}

void Playing::padState(Session& session, int slot, const PadState& pad) {
    PadKeyEvents events;
    pads_.update(slot, pad, padContextOf(session.world()), events);
    sendPadKeys(events, session);
}

bool Playing::ended(const Session& session) const {
    return session.quitRequested();
}

int Playing::tick(Session& session) {
    session.tick();
    session.paint();
    // Kept after the paint, never inside the tick.
    kept_.afterTick(session);
    refreshTable();
    return 1;
}

const gfx::Surface& Playing::shown(const Session& session) {
    return overlay_.compose(session.frame(), showScores_ && !session.world().game.running);
}

void Playing::finish(const Session& session) {
    kept_.finish(session);
}

void Playing::keepNow(const Session& session) {
    kept_.keepNow(session);
}

void Playing::refreshTable() {
    if (kept_.tableChanges() == tableShown_) return;
    tableShown_ = kept_.tableChanges();
    overlay_.setTable(kept_.table());
}

}  // namespace kolvane
