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

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Moves past spaces, tabs and the Unicode spaces a hand or an editor could
// put into a comment (UTF-8: U+00A0, U+1680, U+2000 to U+200B, U+202F,
// U+205F, U+3000, U+FEFF).
void skipBlanks(std::string_view& text) {
    for (;;) {
        if (take(text, " ") || take(text, "\t") || take(text, "\xC2\xA0") ||
            take(text, "\xE1\x9A\x80") || take(text, "\xE2\x80\xAF") ||
            take(text, "\xE2\x81\x9F") || take(text, "\xE3\x80\x80") ||
            take(text, "\xEF\xBB\xBF")) {
            continue;
        }
        if (text.size() >= 3 && text.substr(0, 2) == "\xE2\x80" &&
            static_cast<unsigned char>(text[2]) >= 0x80 &&
            static_cast<unsigned char>(text[2]) <= 0x8B) {
            text.remove_prefix(3);
            continue;
        }
        return;
    }
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
    if (!header.ticket.empty()) {
        out += "ticket ";
        out += header.ticket;
        out += '\n';
    }
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
    skipBlanks(line);
    if (!take(line, "#")) return false;
    skipBlanks(line);
    constexpr std::string_view kGame = "game";
    if (line.size() < kGame.size()) return false;
    for (std::size_t i = 0; i < kGame.size(); ++i) {
        if ((line[i] | 0x20) != kGame[i]) return false;  // any case
    }
    return line.size() == kGame.size() || !isLetter(line[kGame.size()]);
}

bool hasRecordingHeader(std::string_view text) {
    take(text, "\xEF\xBB\xBF");
    std::string_view line = takeLine(text);
    // "# Kolvane VERSION recording: ..."
    if (!take(line, "# Kolvane ")) return false;
    const auto space = line.find(' ');
    return space != std::string_view::npos && line.substr(space).starts_with(" recording: ");
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

bool readRecording(std::string_view text, std::string_view name, const ScriptLimits& limits,
                   Recording& recording, std::string& error) {
    recording = Recording{};
    if (!parseScript(text, name, limits, recording.script, error)) return false;
    const auto refuse = [&](const std::string& what) {
        error = std::string(name) + what;
        recording = Recording{};
        return false;
    };
    const ScriptSettings& settings = recording.script.settings;
    if (!settings.clock || !settings.seed || !settings.size) {
        return refuse(": not a recording (it lacks its clock, seed and size lines)");
    }
    if (!recording.script.shots.empty()) {
        return refuse(":" + std::to_string(recording.script.shots.front().line) + ": " +
                      std::string(kShotInRecording));
    }
    // The script is text with short lines now; only the game lines are left.
    int lineNumber = 0;
    while (!text.empty()) {
        std::string_view line = takeLine(text);
        ++lineNumber;
        if (lineNumber == 1) take(line, "\xEF\xBB\xBF");
        if (!isGameLine(line)) continue;
        const std::optional<GameResult> game = parseGameLine(line);
        if (!game) return refuse(":" + std::to_string(lineNumber) + ": bad game line");
        recording.games.push_back(*game);
    }
    return true;
}

}  // namespace kolvane
