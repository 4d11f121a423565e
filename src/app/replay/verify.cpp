#include "app/replay/verify.h"

#include <algorithm>
#include <memory>

#include "app/replay/game_tracker.h"
#include "app/session/script_player.h"
#include "game/game_world.h"

namespace kolvane {

namespace {

// How often a replay looks at its cancel flag: about every 10 ms of work.
constexpr std::int64_t kTicksBetweenLooks = 4096;

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

// Plays the script into a session without pixels, collecting the games that
// end; false when cancelled.
bool replay(const Script& script, const SessionStart& start, const std::atomic<bool>* cancel,
            VerifyReport& report) {
    ResultCollector collector(report.reached);
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, start);
    session.addListener(collector);
    session.discardPixels(true);
    session.start();
    session.paint();
    bool cancelled = false;
    const auto afterTick = [&] {
        cancelled = cancel != nullptr && session.ticksDone() % kTicksBetweenLooks == 0 &&
                    cancel->load(std::memory_order_relaxed);
        return !cancelled;
    };
    for (const Command& command : script.commands) {
        if (command.kind == CommandKind::kShot) continue;
        if (command.kind != CommandKind::kTick) ++report.keyEvents;
        if (!playCommand(session, command, afterTick)) break;
    }
    report.ticks = session.ticksDone();
    return !cancelled;
}

std::string gameText(const GameResult& game) {
    std::string line;
    appendGameLine(line, game);
    line.pop_back();        // the newline
    return line.substr(2);  // without "# "
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

VerifyReport verifyRecording(std::string_view text, std::string_view name,
                             const ScriptLimits& limits, const std::atomic<bool>* cancel) {
    return verifyRecording(text, name, limits, ScriptSettings{}, cancel);
}

VerifyReport verifyRecording(std::string_view text, std::string_view name,
                             const ScriptLimits& limits, const ScriptSettings& overrides,
                             const std::atomic<bool>* cancel) {
    VerifyReport report;
    if (!readRecording(text, name, limits, report.recording, report.message)) {
        report.verdict = Verdict::kRefused;
        return report;
    }
    ScriptSettings start = report.recording.script.settings;
    if (overrides.clock) start.clock = overrides.clock;
    if (overrides.seed) start.seed = overrides.seed;
    if (overrides.size) start.size = overrides.size;
    if (!replay(report.recording.script, sessionStartOf(start), cancel, report)) {
        report.verdict = Verdict::kCancelled;
        report.message = std::string(name) + ": verification stopped after " +
                         std::to_string(report.ticks) + " ticks";
        return report;
    }
    const std::vector<GameResult>& claimed = report.recording.games;
    const std::vector<GameResult>& reached = report.reached;
    const std::size_t games = std::max(claimed.size(), reached.size());
    if (games == 0) {
        report.verdict = Verdict::kNoGames;
        report.message = std::string(name) + ": no game ended in the recording: nothing to verify";
        return report;
    }
    std::size_t disagreements = games - std::min(claimed.size(), reached.size());
    for (std::size_t i = 0; i < std::min(claimed.size(), reached.size()); ++i) {
        if (claimed[i] != reached[i]) ++disagreements;
    }
    if (disagreements > 0) {
        report.verdict = Verdict::kDisagrees;
        report.message = std::string(name) + " does not verify: " + std::to_string(disagreements) +
                         " of " + std::to_string(games) + " games disagree";
        return report;
    }
    report.verdict = Verdict::kAgrees;
    report.message =
        "verified: " + plural(games, "game", "games") + ", every one as the recording says";
    return report;
}

std::size_t describedGames(const VerifyReport& report) {
    return std::max(report.reached.size(), report.recording.games.size());
}

std::string describeGame(const VerifyReport& report, std::size_t line) {
    const std::vector<GameResult>& claimed = report.recording.games;
    const std::vector<GameResult>& reached = report.reached;
    if (line >= reached.size()) {
        return "no game " + std::to_string(line + 1) + " in the replay (the recording says " +
               gameText(claimed[line]) + ")";
    }
    if (line >= claimed.size()) return gameText(reached[line]) + " (not in the recording)";
    if (claimed[line] != reached[line]) {
        return gameText(reached[line]) + " (the recording says " + gameText(claimed[line]) + ")";
    }
    return gameText(reached[line]) + " (agrees)";
}

std::vector<GameResult> replayGames(const Script& script, const SessionStart& start) {
    VerifyReport report;
    replay(script, start, nullptr, report);
    return report.reached;
}

}  // namespace kolvane
