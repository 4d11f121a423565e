#include "app/verify.h"

#include <memory>

#include "app/game_watch.h"
#include "app/script_player.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

class ResultCollector final : public SessionListener {
public:
    explicit ResultCollector(std::vector<GameResult>& results) : results_(results) {}
    void keyDown(const Session& session, KeyEvent /*key*/) override { watch_.update(session); }
    void ticked(const Session& session) override {
        if (watch_.update(session) == GameWatch::Change::kEnded) results_.push_back(watch_.game());
    }

private:
    std::vector<GameResult>& results_;
    GameWatch watch_;
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
