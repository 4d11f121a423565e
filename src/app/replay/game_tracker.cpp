#include "app/replay/game_tracker.h"

#include "core/geometry.h"
#include "game/game_world.h"

namespace kolvane {

GameTracker::Change GameTracker::update(const Session& session) {
    const GameState& state = session.world().game;
    if (state.running == running_) return Change::kNone;
    running_ = state.running;
    if (running_) {
        game_ = GameResult{game_.number + 1, 0, 0, 0};
        startTick_ = session.ticksDone();
        return Change::kStarted;
    }
    game_.score = state.score;
    game_.level = truncate(state.level);
    game_.endTick = session.ticksDone();
    return Change::kEnded;
}

}  // namespace kolvane
