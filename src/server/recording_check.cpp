#include "server/recording_check.h"

#include "app/replay/verify.h"
#include "app/text/text_line.h"

namespace kolvane::server {

namespace {

// The settings words a recording may open with.
bool isSettingsLine(std::string_view line) {
    for (const std::string_view word : {"clock ", "seed ", "size ", "ticket "}) {
        if (line.substr(0, word.size()) == word) return true;
    }
    return false;
}

// Takes the `ticket TOKEN` line out of the settings lines (made a comment,
// so that every line keeps its number) for a reader that does not know it.
std::string withoutTicketLine(std::string_view text, std::optional<std::string>& ticket) {
    std::string out(text);
    std::string_view rest = text;
    std::size_t offset = 0;
    while (!rest.empty()) {
        const std::size_t before = rest.size();
        std::string_view line = takeLine(rest);
        const std::size_t lineStart = offset;
        offset += before - rest.size();
        if (line.empty() || line[0] == '#') continue;
        if (!isSettingsLine(line)) break;
        if (line.substr(0, 7) == "ticket ") {
            std::string_view token = line.substr(7);
            while (!token.empty() && (token.back() == ' ' || token.back() == '\t'))
                token.remove_suffix(1);
            if (!ticket) ticket = std::string(token);
            out[lineStart] = '#';
        }
    }
    return out;
}

}  // namespace

bool readSubmission(std::string_view text, SubmittedRecording& out, std::string& error) {
    out = SubmittedRecording{};
    if (text.size() > kMaxRecordingBytes) {
        error = std::string(kRecordingName) + ": larger than " +
                std::to_string(kMaxRecordingBytes) + " bytes";
        return false;
    }
    const std::string plain = withoutTicketLine(text, out.ticket);
    if (!readRecording(plain, kRecordingName, out.recording, error)) return false;
    for (const Command& command : out.recording.script.commands) {
        if (command.kind == CommandKind::kShot) {
            error = std::string(kRecordingName) + ":" + std::to_string(command.line) +
                    ": a recording takes no shot line";
            return false;
        }
        if (command.kind == CommandKind::kTick) {
            out.ticks += command.count;
        } else {
            ++out.keyEvents;
        }
        if (out.ticks > kMaxRecordingTicks) {
            error = std::string(kRecordingName) + ":" + std::to_string(command.line) +
                    ": more than " + std::to_string(kMaxRecordingTicks) +
                    " ticks (four hours of play)";
            return false;
        }
        if (out.keyEvents > kMaxRecordingKeyEvents) {
            error = std::string(kRecordingName) + ":" + std::to_string(command.line) +
                    ": more than " + std::to_string(kMaxRecordingKeyEvents) + " key events";
            return false;
        }
    }
    return true;
}

Verification verifySubmission(std::string_view text, const std::atomic<bool>* /*cancel*/) {
    Verification result;
    if (!readSubmission(text, result.read, result.message)) return result;
    const ScriptSettings& settings = result.read.recording.script.settings;
    const SessionStart start{*settings.clock, *settings.seed,
                             Rect{0, 0, settings.size->width, settings.size->height}};
    result.reached = replayGames(result.read.recording.script, start);
    const std::vector<GameResult>& claimed = result.read.recording.games;
    if (result.reached.empty() && claimed.empty()) {
        result.outcome = Outcome::kNoGames;
        result.message = "no game ended in the recording";
        return result;
    }
    std::size_t disagreements = 0;
    std::string first;
    const std::size_t games = std::max(result.reached.size(), claimed.size());
    for (std::size_t i = 0; i < games; ++i) {
        if (i < result.reached.size() && i < claimed.size() && result.reached[i] == claimed[i])
            continue;
        ++disagreements;
        if (!first.empty()) continue;
        std::string reached = "no game";
        if (i < result.reached.size()) {
            reached.clear();
            appendGameLine(reached, result.reached[i]);
            reached = reached.substr(2, reached.size() - 3);
        }
        std::string said = "no game";
        if (i < claimed.size()) {
            said.clear();
            appendGameLine(said, claimed[i]);
            said = said.substr(2, said.size() - 3);
        }
        first = "replayed, " + reached + " (the recording says " + said + ")";
    }
    if (disagreements > 0) {
        result.outcome = Outcome::kDisagrees;
        result.message = std::to_string(disagreements) + " of " + std::to_string(games) +
                         " games disagree: " + first;
        return result;
    }
    result.outcome = Outcome::kAgrees;
    return result;
}

}  // namespace kolvane::server
