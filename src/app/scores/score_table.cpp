#include "app/scores/score_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "app/text/text_line.h"
#include "app/text/utc_time.h"

namespace kolvane {

namespace {

constexpr std::string_view kHeader =
    "# Kolvane high scores: score level date duration recording end-tick\n";
constexpr std::size_t kMaxNameLength = 64;
constexpr int kFields = 6;

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

template <class T>
bool parseWhole(std::string_view text, T& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

// Splits a line at spaces and tabs into at most kFields words; the count, or
// kFields + 1 when there are more.
int splitFields(std::string_view line, std::array<std::string_view, kFields>& fields) {
    int n = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (n == kFields) return kFields + 1;
        fields[static_cast<std::size_t>(n++)] = line.substr(start, i - start);
    }
    return n;
}

// One game's line; on a mistake returns what is wrong.
std::string parseEntry(std::string_view line, ScoreEntry& entry) {
    std::array<std::string_view, kFields> f{};
    if (splitFields(line, f) != kFields) {
        return "expected score, level, date, duration, recording and end tick";
    }
    if (!parseWhole(f[0], entry.score)) return "bad score \"" + std::string(f[0]) + "\"";
    if (!parseWhole(f[1], entry.level)) return "bad level \"" + std::string(f[1]) + "\"";
    if (!parseUtc(f[2], entry.date)) return "bad date \"" + std::string(f[2]) + "\"";
    if (!parseWhole(f[3], entry.durationSeconds)) {
        return "bad duration \"" + std::string(f[3]) + "\"";
    }
    if (!isSafeRecordingName(f[4])) return "bad recording name \"" + std::string(f[4]) + "\"";
    entry.recording = std::string(f[4]);
    if (!parseWhole(f[5], entry.endTick)) return "bad end tick \"" + std::string(f[5]) + "\"";
    return {};
}

}  // namespace

bool isSafeRecordingName(std::string_view name) {
    if (name == kNoRecording) return true;
    if (name.empty() || name.size() > kMaxNameLength || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), isNameCharacter);
}

int insertScore(ScoreTable& table, const ScoreEntry& entry) {
    auto& e = table.entries;
    const auto at = std::upper_bound(
        e.begin(), e.end(), entry,
        [](const ScoreEntry& a, const ScoreEntry& b) { return a.score > b.score; });
    const auto rank = static_cast<std::size_t>(at - e.begin()) + 1;
    if (rank > kMaxScores) return 0;
    e.insert(at, entry);
    if (e.size() > kMaxScores) e.resize(kMaxScores);
    return static_cast<int>(rank);
}

std::string formatScoreTable(const ScoreTable& table) {
    std::string text(kHeader);
    for (const ScoreEntry& e : table.entries) {
        UtcText date{};
        text += std::to_string(e.score) + ' ' + std::to_string(e.level) + ' ';
        text += formatUtc(e.date, date);
        text += ' ' + std::to_string(e.durationSeconds) + ' ' + e.recording + ' ' +
                std::to_string(e.endTick) + '\n';
    }
    return text;
}

bool parseScoreTable(std::string_view text, ScoreTable& table, std::string& error) {
    table = ScoreTable{};
    int lineNumber = 0;
    while (!text.empty()) {
        const std::string_view line = takeLine(text);
        ++lineNumber;
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (table.entries.size() == kMaxScores) {
            error = where + "more than " + std::to_string(kMaxScores) + " games";
            table = ScoreTable{};
            return false;
        }
        ScoreEntry entry;
        if (const std::string problem = parseEntry(line, entry); !problem.empty()) {
            error = where + problem;
            table = ScoreTable{};
            return false;
        }
        // Lines edited by hand may be out of order; equal scores keep theirs.
        insertScore(table, entry);
    }
    return true;
}

std::string formatDuration(std::int32_t seconds) {
    char text[32];
    const int h = seconds / 3600;
    const int m = seconds / 60 % 60;
    const int s = seconds % 60;
    if (h > 0) {
        std::snprintf(text, sizeof text, "%d:%02d:%02d", h, m, s);
    } else {
        std::snprintf(text, sizeof text, "%d:%02d", m, s);
    }
    return text;
}

std::string reportDate(std::int64_t secondsSince1970) {
    UtcText date{};
    std::string when(formatUtc(secondsSince1970, date));
    when[10] = ' ';
    when.pop_back();  // the Z: the heading says UTC
    return when;
}

std::string scoreReport(const ScoreTable& table) {
    if (table.entries.empty()) return "No high scores yet.\n";
    std::string text = " #    Score  Level  Date (UTC)            Length  Recording  (tick)\n";
    int rank = 0;
    for (const ScoreEntry& e : table.entries) {
        char line[96];
        std::snprintf(line, sizeof line, "%2d %8d  %5d  %-20s  %6s  ", ++rank, e.score, e.level,
                      reportDate(e.date).c_str(), formatDuration(e.durationSeconds).c_str());
        text += line;
        text += e.recording;
        if (e.recording != kNoRecording) text += "  (" + std::to_string(e.endTick) + ")";
        text += '\n';
    }
    return text;
}

}  // namespace kolvane
