#pragma once
// Playing with a world table (a leaderboard server), the desktop windows'
// mode when settings.ini names a server: Playing (playing.h) does the game,
// and this decides, once for both windows, what the world table does around
// it. The session starts from the world's ticket when it came in time; each
// finished game's recording is sent when the player said so (`submit`); the
// title's table marks the games the world verified, and F9 shows the world's
// top ten in its place (`world_scores`, kept). F9 never reaches the game
// then; every other key does. The network's part is the link's
// (world_link.h), in the background. The web page has its world table in its
// own JavaScript and none of this.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/front_end/playing.h"
#include "app/front_end/session_mode.h"
#include "app/front_end/world_link.h"
#include "app/scores/world_overlay.h"
#include "app/storage/kept_games.h"
#include "app/storage/player_settings.h"
#include "app/storage/settings_store.h"

namespace kolvane {

// The key that switches the title's table between the local one and the
// world's top ten.
inline constexpr int kWorldTableKey = 0x78;  // F9

class WorldPlaying final : public SessionMode {
public:
    // playing and kept: the session's, whose keeping this reads; settings:
    // the run's (show_scores, world_scores, submit), where F9's choice is
    // kept through store.
    WorldPlaying(Playing& playing, const KeptGames& kept, WorldLink& world,
                 PlayerSettings& settings, SettingsStore& store)
        : playing_(playing), kept_(kept), world_(world), settings_(settings), store_(store) {}

    SessionStart sessionStart(std::int64_t wallClockSeconds) override;
    void attach(Session& session) override { playing_.attach(session); }
    void afterFirstFrame() override;
    void keyDown(Session& session, KeyEvent key) override;
    void keyUp(Session& session, int key) override;
    void focusLost(Session& session) override { playing_.focusLost(session); }
    void close(Session& session) override { playing_.close(session); }
    void padState(Session& session, int slot, const PadState& pad) override {
        playing_.padState(session, slot, pad);
    }
    bool ended(const Session& session) const override { return playing_.ended(session); }
    int tick(Session& session) override;
    const gfx::Surface& shown(const Session& session) override;
    void finish(const Session& session) override;
    void keepNow(const Session& session) override { playing_.keepNow(session); }

private:
    // The session's recording, when a game ended since the last one sent.
    void submitEndedGames();
    void refreshTables();

    Playing& playing_;
    const KeptGames& kept_;
    WorldLink& world_;
    PlayerSettings& settings_;
    SettingsStore& store_;
    WorldOverlay overlay_;
    std::size_t gamesEnded_ = 0;
    int tableShown_ = -1;
    int worldShown_ = -1;
    std::vector<bool> verifiedRows_;
};

}  // namespace kolvane
