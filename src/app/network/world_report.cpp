#include "app/network/world_report.h"

#include <algorithm>
#include <cstdio>

#include "app/network/server_text.h"
#include "app/scores/score_table.h"

namespace kolvane {

namespace {

// name padded with spaces to width characters (not bytes: names are UTF-8).
std::string padded(const std::string& name, std::size_t width) {
    const std::size_t n = characterCount(name);
    return n >= width ? name : name + std::string(width - n, ' ');
}

}  // namespace

std::string worldReport(const WorldTable& table) {
    if (table.entries.empty()) return "No games in the world table yet.\n";
    std::string text =
        "  #    Score  Level  Date (UTC)           Player                Recording\n";
    for (const WorldEntry& e : table.entries) {
        char line[96];
        std::snprintf(line, sizeof line, "%3lld %8d  %5d  %-19s  ", static_cast<long long>(e.rank),
                      e.score, e.level, reportDate(e.date).c_str());
        text += line;
        text += padded(e.player, 20) + "  " + e.recording.text() + '\n';
    }
    return text;
}

std::string verdictLine(const Verdict& verdict) {
    switch (verdict.status) {
        case VerdictStatus::kQueued:
            return "queued: not verified yet";
        case VerdictStatus::kRejected:
            return "rejected: " +
                   (verdict.reason.empty() ? std::string("no reason given") : verdict.reason);
        case VerdictStatus::kVerified:
            break;
    }
    if (verdict.games.empty()) return "verified: no game ended in this recording";
    const auto best = std::max_element(
        verdict.games.begin(), verdict.games.end(),
        [](const VerifiedGame& a, const VerifiedGame& b) { return a.score < b.score; });
    std::string line = "verified: score " + std::to_string(best->score);
    if (verdict.games.size() > 1) {
        line += " (the best of " + std::to_string(verdict.games.size()) + " games)";
    }
    if (!verdict.ranked) {
        return line + ", not ranked" + (verdict.reason.empty() ? "" : ": " + verdict.reason);
    }
    return line + (verdict.rank ? ", rank " + std::to_string(*verdict.rank) : ", ranked");
}

}  // namespace kolvane
