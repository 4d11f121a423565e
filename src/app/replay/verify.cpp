#include "app/replay/verify.h"

#include <memory>

#include "app/replay/game_tracker.h"
#include "app/session/script_player.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

class ResultCollector final : public SessionListener {
public:
    explicit ResultCollector(std::vector<GameResult>& results) : results_(results) {}
    void keyDown(const Session& session, KeyEvent /*key*/) override { tracker_.update(session); }
    void ticked(const Session& session) override {
        if (tracker_.update(session) == GameTracker::Change::kEnded)
            results_.push_back(tracker_.game());
    }

private:
    std::vector<GameResult>& results_;
    GameTracker tracker_;
};

}  // namespace

std::vector<GameResult> replayGames(const Script& script, const SessionStart& start) {
    std::vector<GameResult> results;
    ResultCollector collector(results);
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, start);
    session.addListener(collector);
    session.discardPixels(true);
    session.start();
    session.paint();
    for (const Command& command : script.commands) {
        if (command.kind == CommandKind::kShot) continue;
        if (!playCommand(session, command)) break;
    }
    return results;
}

}  // namespace kolvane
