#pragma once
// Playing the game: keys, focus loss, close and gamepads go to the game's
// session; the session is kept (kept_games.h) and the high-score table is
// drawn over the title screen, refreshed whenever the store gives a new one.
//
// The session starts from a leaderboard's ticket when it was handed one
// (useTicket, before the core starts), so that its games can rank;
// otherwise from the wall clock's second. (The desktop windows' world table
// wraps this mode: world_playing.h.)
#include "app/front_end/session_mode.h"
#include "app/front_end/session_ticket.h"
#include "app/scores/score_overlay.h"
#include "app/storage/kept_games.h"

namespace kolvane {

class Playing final : public SessionMode {
public:
    // showScores: the table over the title screen.
    Playing(KeptGames& kept, bool showScores) : kept_(kept), showScores_(showScores) {}

    // The ticket to start from; before the core's start(). False (and the
    // wall clock kept) for a ticket no recording can carry.
    bool useTicket(const SessionTicket& ticket);

    SessionStart sessionStart(std::int64_t wallClockSeconds) override;
    void attach(Session& session) override;
    void afterFirstFrame() override;
    void keyDown(Session& session, KeyEvent key) override;
    void keyUp(Session& session, int key) override;
    void focusLost(Session& session) override;
    void close(Session& session) override;
    void padState(Session& session, int slot, const PadState& pad) override;
    bool ended(const Session& session) const override;
    int tick(Session& session) override;
    const gfx::Surface& shown(const Session& session) override;
    void finish(const Session& session) override;
    void keepNow(const Session& session) override;

private:
    void refreshTable();

    KeptGames& kept_;
    bool showScores_;
    SessionTicket ticket_;  // no token: none
    ScoreOverlay overlay_;
    int tableShown_ = 0;
    GamepadKeys pads_;
};

}  // namespace kolvane
