#include "app/front_end/playing.h"

#include <utility>

#include "app/session/tick_and_field.h"
#include "game/game_world.h"

namespace kolvane {

Playing::Playing(KeptGames& kept, const PlayingSetup& setup)
    : kept_(kept),
      showScores_(setup.showScores),
      worldScores_(setup.worldScores),
      submit_(setup.submit),
      world_(setup.world) {}

bool Playing::useTicket(SessionTicket ticket) {
    if (!isUsableTicket(ticket)) return false;
    ticket_ = std::move(ticket);
    return true;
}

SessionStart Playing::sessionStart(std::int64_t wallClockSeconds) {
    // The world's ticket, fetched while the window opened.
    if (!ticket_ && world_ != nullptr) {
        if (std::optional<SessionTicket> ticket = world_->awaitTicket()) useTicket(*ticket);
    }
    const std::int32_t clock =
        ticket_ ? ticket_->clockSeconds : static_cast<std::int32_t>(wallClockSeconds);
    return SessionStart{clock, 1, kDefaultClient};
}

void Playing::attach(Session& session) {
    kept_.attach(session, ticket_ ? std::string_view(ticket_->token) : std::string_view());
}

void Playing::afterFirstFrame() {
    kept_.open();
    if (world_ != nullptr) world_->open();
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
    if (world_ != nullptr) {
        submitEndedGames();
        world_->afterTick(session.ticksDone());
    }
    refreshTable();
    return 1;
}

const gfx::Surface& Playing::shown(const Session& session) {
    OverlayTable table = OverlayTable::kNone;
    if (!session.world().game.running) {
        if (worldScores_ && world_ != nullptr) {
            table = OverlayTable::kWorld;
        } else if (showScores_) {
            table = OverlayTable::kLocal;
        }
    }
    return overlay_.compose(session.frame(), table);
}

void Playing::finish(const Session& session) {
    kept_.finish(session);
    if (world_ != nullptr) {
        submitEndedGames();
        world_->finish();
    }
}

void Playing::keepNow(const Session& session) {
    kept_.keepNow(session);
}

void Playing::submitEndedGames() {
    const std::size_t ended = kept_.recorder().finishedGames().size();
    if (ended == gamesSubmitted_) return;
    gamesSubmitted_ = ended;
    // The session's recording as it is now, which holds every game that
    // ended: one copy a game over, never inside a tick.
    if (submit_ && !kept_.recordingName().empty()) {
        world_->submit(kept_.recordingName(), kept_.recorder().wholeText());
    }
}

void Playing::refreshTable() {
    const int worldChanges = world_ != nullptr ? world_->changes() : 0;
    if (kept_.tableChanges() == tableShown_ && worldChanges == worldShown_) return;
    tableShown_ = kept_.tableChanges();
    worldShown_ = worldChanges;
    if (world_ == nullptr) {
        overlay_.setTable(kept_.table());
        return;
    }
    const std::vector<ScoreEntry>& entries = kept_.table().entries;
    verifiedRows_.assign(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i)
        verifiedRows_[i] = world_->verified(entries[i]);
    overlay_.setTable(kept_.table(), &verifiedRows_);
    overlay_.setWorldTable(world_->topTen());
}

}  // namespace kolvane
