#pragma once
// Playing with a world table (a leaderboard server), the desktop windows'
// mode when settings.ini names a server: Playing (playing.h) does the game,
// and this decides, once for both windows, what the world table does around
// it. The session starts from the world's ticket when it came in time; each
// finished game's recording is sent when the player said so; the title's
// table marks the games the world verified, and F9 (the core's) shows the
// world's top ten in its place. The network's part is the link's
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

namespace kolvane {

struct WorldPlayingSetup {
    bool showScores = true;    // the local table over the title screen
    bool worldScores = false;  // the world's top ten there instead
    bool submit = false;       // each finished game sent to the world table
};

class WorldPlaying final : public SessionMode {
public:
    // playing and kept: the session's, whose keeping this reads.
    WorldPlaying(Playing& playing, const KeptGames& kept, WorldLink& world,
                 const WorldPlayingSetup& setup)
        : playing_(playing), kept_(kept), world_(world), setup_(setup) {}

    SessionStart sessionStart(std::int64_t wallClockSeconds) override;
    void attach(Session& session) override { playing_.attach(session); }
    void afterFirstFrame() override;
    void keyDown(Session& session, KeyEvent key) override { playing_.keyDown(session, key); }
    void keyUp(Session& session, int key) override { playing_.keyUp(session, key); }
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
    bool hasWorld() const override { return true; }
    void showWorldScores(bool on) override { setup_.worldScores = on; }

private:
    // The session's recording, when a game ended since the last one sent.
    void submitEndedGames();
    void refreshTables();

    Playing& playing_;
    const KeptGames& kept_;
    WorldLink& world_;
    WorldPlayingSetup setup_;
    WorldOverlay overlay_;
    std::size_t gamesEnded_ = 0;
    int tableShown_ = -1;
    int worldShown_ = -1;
    std::vector<bool> verifiedRows_;
};

}  // namespace kolvane
