#pragma once
// Playing the game: keys, focus loss, close and gamepads go to the game's
// session; the session is kept (kept_games.h) and the high-score table is
// drawn over the title screen, refreshed whenever the store gives a new one.
//
// The session starts from a leaderboard's ticket when it has one (handed
// over with useTicket before the core starts, or fetched by the world link),
// so that its games can rank; otherwise from the wall clock's second. With a
// world link (world_link.h), each finished game's recording is sent when
// the player said so, the title's table marks the games the world verified,
// and F9 (the core's) shows the world's top ten instead.
#include <cstddef>
#include <optional>

#include "app/front_end/session_mode.h"
#include "app/front_end/session_ticket.h"
#include "app/front_end/world_link.h"
#include "app/scores/score_overlay.h"
#include "app/storage/kept_games.h"

namespace kolvane {

struct PlayingSetup {
    bool showScores = true;      // the local table over the title screen
    bool worldScores = false;    // the world's top ten there instead
    bool submit = false;         // each finished game sent to the world table
    WorldLink* world = nullptr;  // null: no world table
};

class Playing final : public SessionMode {
public:
    Playing(KeptGames& kept, const PlayingSetup& setup);
    // showScores: the table over the title screen.
    Playing(KeptGames& kept, bool showScores) : Playing(kept, PlayingSetup{showScores}) {}

    // The ticket to start from; before the core's start(). False (and the
    // wall clock kept) for a ticket no recording can carry.
    bool useTicket(SessionTicket ticket);

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
    bool hasWorld() const override { return world_ != nullptr; }
    void showWorldScores(bool on) override { worldScores_ = on; }

private:
    void submitEndedGames();
    void refreshTable();

    KeptGames& kept_;
    bool showScores_;
    bool worldScores_;
    bool submit_;
    WorldLink* world_;
    std::optional<SessionTicket> ticket_;
    ScoreOverlay overlay_;
    int tableShown_ = 0;
    int worldShown_ = 0;
    std::size_t gamesSubmitted_ = 0;
    std::vector<bool> verifiedRows_;
    GamepadKeys pads_;
};

}  // namespace kolvane
