#include "server/session_extension.h"

#include <algorithm>
#include <cstddef>

namespace kolvane::server {

namespace {

bool sameSettings(const ScriptSettings& a, const ScriptSettings& b) {
    return a.clock == b.clock && a.seed == b.seed && a.size == b.size && a.ticket == b.ticket;
}

bool sameCommand(const Command& a, const Command& b) {
    return a.kind == b.kind && a.key == b.key && a.count == b.count;
}

}  // namespace

bool extendsRecording(const Recording& earlier, const Recording& later) {
    if (!sameSettings(earlier.script.settings, later.script.settings)) return false;
    const std::vector<Command>& before = earlier.script.commands;
    const std::vector<Command>& after = later.script.commands;
    if (after.size() < before.size()) return false;
    if (!before.empty()) {
        const std::size_t last = before.size() - 1;
        if (!std::equal(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(last),
                        after.begin(), sameCommand)) {
            return false;
        }
        const Command& was = before[last];
        const Command& is = after[last];
        const bool grownRun = was.kind == CommandKind::kTick && is.kind == CommandKind::kTick &&
                              is.count >= was.count;
        if (!sameCommand(was, is) && !grownRun) return false;
    }
    return later.games.size() >= earlier.games.size() &&
           std::equal(earlier.games.begin(), earlier.games.end(), later.games.begin());
}

}  // namespace kolvane::server
