#include "soak/soak_run.h"

#include <cstdio>

#include "app/sim/runner.h"
#include "app/sim/trace.h"
#include "game/game_world.h"
#include "soak/invariants.h"

namespace kolvane::soak {

namespace {

// Counts the moments worth knowing about by comparing the world before and
// after each message.
class Watcher {
public:
    explicit Watcher(SoakReport& report) : report_(report) {}

    void look(const GameWorld& w) {
        const GameState& g = w.game;
        if (g.running && !running_) ++report_.gamesStarted;
        if (!g.running && running_) ++report_.gamesOver;
        if (g.running && running_ && g.level > level_) ++report_.levelsCleared;
        if (g.paused && !paused_) ++report_.pauses;
        if (w.powerUp.isActive() && !capsule_) ++report_.capsulesDropped;
        for (int i = 0; i < GameWorld::kSaucers; ++i) {
            if (w.saucers[i].isActive() && !saucers_[i]) ++report_.saucersLaunched;
            saucers_[i] = w.saucers[i].isActive();
        }
        running_ = g.running;
        paused_ = g.paused;
        level_ = g.level;
        capsule_ = w.powerUp.isActive();
        if (g.running && static_cast<int>(g.level) > report_.highestLevel) {
            report_.highestLevel = static_cast<int>(g.level);
        }
    }

private:
    SoakReport& report_;
    bool running_ = false;
    bool paused_ = false;
    float level_ = 1.0f;
    bool capsule_ = false;
    bool saucers_[GameWorld::kSaucers] = {};
};

}  // namespace

SoakReport runSoak(const SoakCase& soak) {
    sim::Options options;
    options.width = soak.width;
    options.height = soak.height;
    options.clock = soak.clock;
    options.seed = soak.gameSeed;

    SoakReport report;
    Watcher watcher(report);
    sim::Runner runner(options, stderr);
    runner.start();
    ScriptGenerator script(soak.style, soak.scriptSeed);
    std::string problem;
    while (report.ticks < soak.ticks) {
        const Step step = script.next(static_cast<std::int32_t>(soak.ticks - report.ticks));
        const bool ok = runner.play(step.command(), [&] {
            ++report.ticks;
            watcher.look(runner.world());
            if (checkInvariants(runner.world(), runner.client(), problem)) return true;
            report.ok = false;
            report.problem = "tick " + std::to_string(report.ticks) + ": " + problem;
            return false;
        });
        if (!report.ok) return report;
        if (step.kind != CommandKind::kTick && step.kind != CommandKind::kUp) {
            ++report.keyDowns;
            watcher.look(runner.world());
        }
        if (!ok) {
            report.ok = false;
            report.problem = "tick " + std::to_string(report.ticks) + ": the game quit";
            return report;
        }
    }
    sim::formatTraceLine(report.lastTraceLine, report.ticks, runner.world());
    return report;
}

std::string replayCommand(const SoakCase& soak) {
    return "kolvane-scriptgen --style " + std::string(styleName(soak.style)) + " --seed " +
           std::to_string(soak.scriptSeed) + " --ticks " + std::to_string(soak.ticks) +
           " | kolvane-sim --size " + std::to_string(soak.width) + "x" +
           std::to_string(soak.height) + " --clock " + std::to_string(soak.clock) + " --seed " +
           std::to_string(soak.gameSeed) + " --trace trace.jsonl";
}

std::string describe(const SoakReport& r) {
    return std::to_string(r.ticks) + " ticks, " + std::to_string(r.keyDowns) + " key-downs, " +
           std::to_string(r.gamesStarted) + " games, " + std::to_string(r.gamesOver) +
           " game overs, " + std::to_string(r.levelsCleared) + " levels cleared (highest " +
           std::to_string(r.highestLevel) + "), " + std::to_string(r.saucersLaunched) +
           " saucers, " + std::to_string(r.capsulesDropped) + " capsules, " +
           std::to_string(r.pauses) + " pauses";
}

}  // namespace kolvane::soak
