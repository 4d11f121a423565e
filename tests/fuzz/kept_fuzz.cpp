#include "fuzz/kept_fuzz.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "app/replay/game_tracker.h"
#include "app/replay/recording.h"
#include "app/scores/score_table.h"
#include "app/session/script_player.h"
#include "fuzz/script_fuzz.h"
#include "game/game_world.h"

namespace kolvane::fuzz {

namespace {

// The results of the games that end within the tick budget.
class Results final : public SessionListener {
public:
    void keyDown(const Session& session, KeyEvent /*key*/) override { watch.update(session); }
    void ticked(const Session& session) override {
        if (watch.update(session) == GameTracker::Change::kEnded) ++ended;
    }
    GameTracker watch;
    int ended = 0;
};

}  // namespace

bool readRecordingInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Recording recording;
    std::string error;
    if (!readRecording(text, "fuzz", recording, error)) {
        if (error.rfind("fuzz:", 0) != 0 || !recording.script.commands.empty() ||
            !recording.games.empty()) {
            problem = "bad refusal: " + error;
            return false;
        }
        return true;
    }
    // Each game line read back as it was written.
    for (const GameResult& game : recording.games) {
        std::string line;
        appendGameLine(line, game);
        line.pop_back();
        if (parseGameLine(line) != game || text.find(line) == std::string_view::npos) {
            problem = "game line not read back: " + line;
            return false;
        }
    }
    // Small clients keep every input fast, whatever its size line says.
    SessionStart start = sessionStartOf(recording.script.settings);
    start.client.right = std::min(start.client.right, 160);
    start.client.bottom = std::min(start.client.bottom, 120);
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, start);
    Results results;
    session.addListener(results);
    session.discardPixels(true);
    session.start();
    session.paint();
    for (const Command& c : recording.script.commands) {
        if (c.kind == CommandKind::kShot) continue;
        if (c.kind == CommandKind::kTick && session.ticksDone() >= kMaxTicks) continue;
        if (!playCommand(session, c, [&] { return session.ticksDone() < kMaxTicks; }) &&
            session.quitRequested()) {
            break;
        }
    }
    return true;
}

bool readScoreTableInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ScoreTable table;
    std::string error;
    if (!parseScoreTable(text, table, error)) {
        if (error.rfind("line ", 0) != 0 || !table.entries.empty()) {
            problem = "bad refusal: " + error;
            return false;
        }
        return true;
    }
    if (table.entries.size() > kMaxScores ||
        !std::is_sorted(
            table.entries.begin(), table.entries.end(),
            [](const ScoreEntry& a, const ScoreEntry& b) { return a.score > b.score; })) {
        problem = "a table of more than ten games, or out of order";
        return false;
    }
    ScoreTable back;
    if (!parseScoreTable(formatScoreTable(table), back, error) || back != table) {
        problem = "the table does not read back as written: " + error;
        return false;
    }
    return true;
}

}  // namespace kolvane::fuzz
