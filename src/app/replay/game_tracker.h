#pragma once
// Tells when a game starts and ends, from the game's own record read after
// each key event and tick: a game ends when `running` goes from set to clear
// (the last life lost in a tick's contact pass). The recorder and
// verification both watch games this way.
#include <cstdint>

#include "app/replay/recording.h"
#include "app/session/session.h"

namespace kolvane {

class GameTracker {
public:
    enum class Change : std::uint8_t { kNone, kStarted, kEnded };

    // After a key event or a tick of the session.
    Change update(const Session& session);

    // The game that runs now, or that ended last: its result so far.
    const GameResult& game() const { return game_; }
    // The tick count when it started.
    std::int64_t startTick() const { return startTick_; }

private:
    bool running_ = false;
    GameResult game_;
    std::int64_t startTick_ = 0;
};

}  // namespace kolvane
