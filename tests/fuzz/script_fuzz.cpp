#include "fuzz/script_fuzz.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/sim/runner.h"
#include "app/sim/script.h"
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
    sim::Script script;
    std::string error;
    if (!sim::parseScript(text, "fuzz", script, error)) {
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
    for (const sim::Command& c : script.commands) {
        switch (c.kind) {
            case sim::CommandKind::kTick:
                for (std::int32_t n = 0; n < c.count && ticks < kMaxTicks; ++n, ++ticks) {
                    runner.tick();
                    if (!checkAfterTick(runner, problem)) return false;
                }
                break;
            case sim::CommandKind::kDown:
                runner.keyDown(c.key, false);
                break;
            case sim::CommandKind::kRepeat:
                runner.keyDown(c.key, true);
                break;
            case sim::CommandKind::kUp:
                runner.release(c.key);
                break;
            case sim::CommandKind::kPress:
                runner.press(c.key);
                break;
            case sim::CommandKind::kShot:
                break;
        }
        if (runner.quitRequested()) break;
    }
    std::string line;
    sim::formatTraceLine(line, ticks, runner.world());
    return true;
}

}  // namespace kolvane::fuzz
