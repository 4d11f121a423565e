#include "fuzz/kept_fuzz.h"

#include <algorithm>
#include <string_view>

#include "app/replay/recording.h"
#include "app/replay/verify.h"
#include "app/scores/score_table.h"
#include "fuzz/script_fuzz.h"

namespace kolvane::fuzz {

bool readRecordingInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Recording recording;
    std::string error;
    const bool read = readRecording(text, "fuzz", kFuzzLimits, recording, error);
    if (!read) {
        if (error.rfind("fuzz:", 0) != 0 || !recording.script.commands.empty() ||
            !recording.games.empty()) {
            problem = "bad refusal: " + error;
            return false;
        }
    } else {
        if (!withinBudget(recording.script, size, kFuzzLimits, problem)) return false;
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
    }
    // Verified as kolvane-sim and the server verify it, in a small field
    // (the frame of a large one would only cost time): the work stays within
    // the budget, and the verdict follows from the games.
    ScriptSettings smallField;
    if (read) {
        const ClientSize size = *recording.script.settings.size;
        smallField.size = ClientSize{std::min(size.width, 160), std::min(size.height, 120)};
    }
    const VerifyReport report = verifyRecording(text, "fuzz", kFuzzLimits, smallField);
    if ((report.verdict == Verdict::kRefused) == read || report.message.empty()) {
        problem = "verification and the reader disagree: " + report.message;
        return false;
    }
    if (report.ticks > kFuzzLimits.maxTicks || report.keyEvents > kFuzzLimits.maxKeyEvents) {
        problem = "verification did more than the budget: " + std::to_string(report.ticks) +
                  " ticks, " + std::to_string(report.keyEvents) + " key events";
        return false;
    }
    const bool noGames = read && report.reached.empty() && recording.games.empty();
    if ((report.verdict == Verdict::kNoGames) != noGames ||
        (report.verdict == Verdict::kAgrees && report.reached != recording.games)) {
        problem = "a wrong verdict: " + report.message;
        return false;
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
