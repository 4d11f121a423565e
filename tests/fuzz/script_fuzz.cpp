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

bool playScriptInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Script script;
    std::string error;
    if (!parseScript(text, "fuzz", script, error)) {
        // A refusal must name the line and leave nothing to run.
        if (error.rfind("fuzz:", 0) != 0 || !script.commands.empty()) {
            problem = "bad refusal: " + error;
            return false;
        }
        return true;
    }

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
        // Past the tick budget only the key commands still run.
        if (c.kind == CommandKind::kTick && ticks >= kMaxTicks) continue;
        runner.play(c, [&] {
            ++ticks;
            ok = checkAfterTick(runner, problem);
            return ok && ticks < kMaxTicks;
        });
        if (!ok) return false;
        if (runner.quitRequested()) break;
    }
    std::string line;
    sim::formatTraceLine(line, ticks, runner.world());
    return true;
}

}  // namespace kolvane::fuzz
