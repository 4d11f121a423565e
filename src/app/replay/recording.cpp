#include "app/replay/recording.h"

#include <charconv>

#include "app/text/text_line.h"
#include "app/text/utc_time.h"

namespace kolvane {

namespace {

constexpr std::string_view kGamePrefix = "# game ";

void appendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

// Reads a whole number at the front of text (digits only, no sign, no
// leading zero but for 0 itself) and moves past it.
template <class T>
bool takeNumber(std::string_view& text, T& value) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
    if (n == 0 || (n > 1 && text[0] == '0')) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + n, value);
    if (ec != std::errc{} || end != text.data() + n) return false;
    text.remove_prefix(n);
    return true;
}

bool take(std::string_view& text, std::string_view word) {
    if (text.substr(0, word.size()) != word) return false;
    text.remove_prefix(word.size());
    return true;
}

}  // namespace

void appendRecordingHeader(std::string& out, const RecordingHeader& header) {
    UtcText when{};
    out += "# Kolvane ";
    out += header.version;
    out += " recording: kolvane --replay FILE watches it, kolvane-sim --verify FILE checks it\n";
    out += "# recorded ";
    out += formatUtc(header.recordedAt, when);
    out += " in the ";
    out += header.frontEnd;
    out += "\nclock ";
    appendNumber(out, header.start.clockSeconds);
    out += "\nseed ";
    appendNumber(out, header.start.seed);
    out += "\nsize ";
    appendNumber(out, header.start.client.right - header.start.client.left);
    out += 'x';
    appendNumber(out, header.start.client.bottom - header.start.client.top);
    out += '\n';
}

void appendGameLine(std::string& out, const GameResult& game) {
    out += kGamePrefix;
    appendNumber(out, game.number);
    out += ": score ";
    appendNumber(out, game.score);
    out += ", level ";
    appendNumber(out, game.level);
    out += ", ended at tick ";
    appendNumber(out, game.endTick);
    out += '\n';
}

bool isGameLine(std::string_view line) {
    return line.size() > kGamePrefix.size() && line.substr(0, kGamePrefix.size()) == kGamePrefix &&
           line[kGamePrefix.size()] >= '0' && line[kGamePrefix.size()] <= '9';
}

std::optional<GameResult> parseGameLine(std::string_view line) {
    GameResult game;
    if (!take(line, kGamePrefix) || !takeNumber(line, game.number) || !take(line, ": score ") ||
        !takeNumber(line, game.score) || !take(line, ", level ") || !takeNumber(line, game.level) ||
        !take(line, ", ended at tick ") || !takeNumber(line, game.endTick) || !line.empty()) {
        return std::nullopt;
    }
    return game;
}

bool readRecording(std::string_view text, std::string_view name, Recording& recording,
                   std::string& error) {
    recording = Recording{};
    if (!parseScript(text, name, recording.script, error)) return false;
    const ScriptSettings& settings = recording.script.settings;
    if (!settings.clock || !settings.seed || !settings.size) {
        error = std::string(name) + ": not a recording (it lacks its clock, seed and size lines)";
        recording = Recording{};
        return false;
    }
    // The script is text with short lines now; only the game lines are left.
    int lineNumber = 0;
    while (!text.empty()) {
        std::string_view line = takeLine(text);
        ++lineNumber;
        if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (!isGameLine(line)) continue;
        const std::optional<GameResult> game = parseGameLine(line);
        if (!game) {
            error = std::string(name) + ":" + std::to_string(lineNumber) + ": bad game line";
            recording = Recording{};
            return false;
        }
        recording.games.push_back(*game);
    }
    return true;
}

}  // namespace kolvane
