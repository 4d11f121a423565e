#pragma once
// The session's mode, chosen once at start: playing, kept in a store (when
// there is no recording to watch), or watching the recording.
#include <optional>

#include "app/front_end/playing.h"
#include "app/front_end/watching.h"
#include "app/session/script.h"
#include "app/storage/game_store.h"
#include "app/storage/kept_games.h"

namespace kolvane {

class SessionModes {
public:
    // watch: the recording to watch, or nothing to play; showScores: the
    // table over the title screen while playing.
    SessionModes(std::optional<Script> watch, GameStore& store, const KeptGamesSetup& keeping,
                 bool showScores);
    SessionModes(const SessionModes&) = delete;
    SessionModes& operator=(const SessionModes&) = delete;

    SessionMode& mode();
    // The session's keeping while playing; null while watching.
    const KeptGames* kept() const { return kept_ ? &*kept_ : nullptr; }
    // Playing, to hand it a ticket before the core starts; null while watching.
    Playing* playing() { return playing_ ? &*playing_ : nullptr; }

private:
    std::optional<KeptGames> kept_;
    std::optional<Playing> playing_;
    std::optional<Watching> watching_;
};

}  // namespace kolvane
