#include "fuzz/script_fuzz.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/session/script.h"
#include "app/sim/runner.h"
#include "app/sim/trace.h"
#include "soak/invariants.h"

namespace kolvane::fuzz {

namespace {

// Small fields keep every input fast; the empty and one-pixel ones are the
// edge cases. The input's length picks one, so an input always replays alike.
constexpr std::array<Rect, 4> kClients{
    {{0, 0, 64, 48}, {0, 0, 1, 1}, {0, 0, 0, 0}, {0, 0, 160, 120}}};

bool checkAfterTick(const sim::Runner& runner, std::string& problem) {
    const Rect client = runner.client();
    if (!soak::checkCounters(runner.world(), problem)) return false;
    if (client.right > 0 && client.bottom > 0) {
        return soak::checkPlaces(runner.world(), client, problem);
    }
    return true;
}

}  // namespace

bool withinBudget(const Script& script, std::size_t textBytes, const ScriptLimits& limits,
                  std::string& problem) {
    std::int64_t ticks = 0;
    std::int64_t keyEvents = 0;
    for (const Command& c : script.commands) {
        if (c.kind == CommandKind::kTick) ticks += c.count;
        if (c.kind != CommandKind::kTick && c.kind != CommandKind::kShot) ++keyEvents;
    }
    const std::size_t bytes = script.commands.capacity() * sizeof(Command);
    if (ticks > limits.maxTicks || keyEvents > limits.maxKeyEvents ||
        bytes > 2 * textBytes + sizeof(Command)) {
        problem = "over the budget: " + std::to_string(ticks) + " ticks, " +
                  std::to_string(keyEvents) + " key events, " + std::to_string(bytes) +
                  " bytes of commands for " + std::to_string(textBytes) + " bytes of text";
        return false;
    }
    return true;
}

bool playScriptInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Script script;
    std::string error;
    if (!parseScript(text, "fuzz", kFuzzLimits, script, error)) {
        // A refusal must name the line and leave nothing to run.
        if (error.rfind("fuzz:", 0) != 0 || !script.commands.empty()) {
            problem = "bad refusal: " + error;
            return false;
        }
        return true;
    }
    if (!withinBudget(script, size, kFuzzLimits, problem)) return false;

    const Rect client = kClients[size % kClients.size()];
    sim::Options options;
    options.width = client.right;
    options.height = client.bottom;
    options.seed = static_cast<std::uint32_t>(size);
    sim::Runner runner(options, nullptr);
    runner.start();
    std::int64_t ticks = 0;
    bool ok = true;
    for (const Command& c : script.commands) {
        runner.play(c, [&] {
            ++ticks;
            ok = checkAfterTick(runner, problem);
            return ok;
        });
        if (!ok) return false;
        if (runner.quitRequested()) break;
    }
    if (ticks > kFuzzLimits.maxTicks) {
        problem = "played " + std::to_string(ticks) + " ticks, over the budget";
        return false;
    }
    std::string line;
    sim::formatTraceLine(line, ticks, runner.world());
    return true;
}

}  // namespace kolvane::fuzz
