#include "app/front_end/world_playing.h"

#include <optional>

#include "game/game_world.h"

namespace kolvane {

SessionStart WorldPlaying::sessionStart(std::int64_t wallClockSeconds) {
    // The ticket asked for as the window opened, if it comes in time.
    if (std::optional<SessionTicket> ticket = world_.awaitTicket()) playing_.useTicket(*ticket);
    return playing_.sessionStart(wallClockSeconds);
}

void WorldPlaying::afterFirstFrame() {
    playing_.afterFirstFrame();
    world_.open();
    refreshTables();
}

void WorldPlaying::keyDown(Session& session, KeyEvent key) {
    if (key.key != kWorldTableKey) {
        playing_.keyDown(session, key);
        return;
    }
    if (key.repeat) return;
    Settings updated = settings_.current();
    updated.worldScores = !updated.worldScores;
    if (settings_.change(updated)) store_.keep(settings_.kept());
}

void WorldPlaying::keyUp(Session& session, int key) {
    if (key != kWorldTableKey) playing_.keyUp(session, key);
}

int WorldPlaying::tick(Session& session) {
    const int painted = playing_.tick(session);
    // After the tick's keeping, which hands the recording to the store.
    submitEndedGames();
    world_.afterTick(session.ticksDone());
    refreshTables();
    return painted;
}

const gfx::Surface& WorldPlaying::shown(const Session& session) {
    const Settings& run = settings_.current();
    if (session.world().game.running) return session.frame();
    if (run.worldScores) return overlay_.compose(session.frame(), true);
    if (run.showScores) return overlay_.compose(session.frame(), false);
    return session.frame();
}

void WorldPlaying::finish(const Session& session) {
    playing_.finish(session);
    submitEndedGames();
    world_.finish();
}

void WorldPlaying::submitEndedGames() {
    const std::size_t ended = kept_.recorder().finishedGames().size();
    if (ended == gamesEnded_) return;
    gamesEnded_ = ended;
    // The session's recording as it is now, which holds every game that
    // ended: one copy a game over, never inside a tick.
    if (settings_.current().submit && !kept_.recordingName().empty()) {
        world_.submit(kept_.recordingName(), kept_.recorder().wholeText());
    }
}

void WorldPlaying::refreshTables() {
    if (kept_.tableChanges() == tableShown_ && world_.changes() == worldShown_) return;
    tableShown_ = kept_.tableChanges();
    worldShown_ = world_.changes();
    const std::vector<ScoreEntry>& entries = kept_.table().entries;
    verifiedRows_.assign(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i) verifiedRows_[i] = world_.verified(entries[i]);
    overlay_.setTable(kept_.table(), verifiedRows_);
    overlay_.setWorldTable(world_.topTen());
}

}  // namespace kolvane
