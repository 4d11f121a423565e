#include "app/settings/settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "app/text/text_line.h"
#include "app/text/whole_number.h"
#include "app/text/words.h"

namespace kolvane {

namespace {

// Where a setting's value lives, and what it takes: one member a kind. A
// kind more is one more member here and one more case in readValue and
// valueText (a switch: smaller in the web page than a variant's visit).
enum class Kind : std::uint8_t { kFlag, kScaleMode, kWhole, kText };
struct SettingLine {
    std::string_view name;
    Kind kind;
    bool Settings::*flag = nullptr;
    ScaleMode Settings::*scaleMode = nullptr;
    int Settings::*whole = nullptr;
    std::string Settings::*text = nullptr;
    int most = 0;  // kWhole: from 0; kText: bytes
};

constexpr SettingLine flagLine(std::string_view name, bool Settings::*field) {
    return {name, Kind::kFlag, field};
}
constexpr SettingLine wholeLine(std::string_view name, int Settings::*field, int most) {
    return {name, Kind::kWhole, nullptr, nullptr, field, nullptr, most};
}
constexpr SettingLine textLine(std::string_view name, std::string Settings::*field, int most) {
    return {name, Kind::kText, nullptr, nullptr, nullptr, field, most};
}

// Every setting, in the order the file lists them; the defaults are
// Settings' own. A new setting is one line here (and its member).
const std::array<SettingLine, 10> kSettingLines{{
    {"scale_mode", Kind::kScaleMode, nullptr, &Settings::scaleMode},
    flagLine("fullscreen", &Settings::fullscreen),
    flagLine("record", &Settings::record),
    flagLine("show_scores", &Settings::showScores),
    wholeLine("volume", &Settings::volume, Settings::kMaxVolume),
    flagLine("muted", &Settings::muted),
    textLine("server", &Settings::server, Settings::kMaxServerLength),
    textLine("name", &Settings::name, Settings::kMaxNameLength),
    flagLine("submit", &Settings::submit),
    flagLine("world_scores", &Settings::worldScores),
}};

bool parseFlag(std::string_view word, bool& value) {
    if (word == "true" || word == "on" || word == "yes" || word == "1") {
        value = true;
        return true;
    }
    if (word == "false" || word == "off" || word == "no" || word == "0") {
        value = false;
        return true;
    }
    return false;
}

// A line of text without control characters: the file's reader already
// took only UTF-8 text (and a check of its own here would cost the web page).
bool isTextValue(std::string_view value, int most) {
    return value.size() <= static_cast<std::size_t>(most) &&
           std::none_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Reads a value into its setting; false when it is not one the setting takes.
bool readValue(const SettingLine& line, std::string_view value, Settings& settings) {
    switch (line.kind) {
        case Kind::kFlag:
            return parseFlag(value, settings.*line.flag);
        case Kind::kScaleMode:
            return parseScaleMode(value, settings.*line.scaleMode);
        case Kind::kWhole: {
            int n = 0;
            if (!parseWhole(value, n) || n > line.most) return false;
            settings.*line.whole = n;
            return true;
        }
        case Kind::kText:
            if (!isTextValue(value, line.most)) return false;
            settings.*line.text = std::string(value);
            return true;
    }
    return false;
}

std::string valueText(const SettingLine& line, const Settings& settings) {
    switch (line.kind) {
        case Kind::kFlag:
            return settings.*line.flag ? "true" : "false";
        case Kind::kScaleMode:
            return scaleModeName(settings.*line.scaleMode);
        case Kind::kWhole:
            return std::to_string(settings.*line.whole);
        case Kind::kText:
            break;
    }
    return settings.*line.text;
}

}  // namespace

const char* scaleModeName(ScaleMode mode) {
    return mode == ScaleMode::kWhole ? "whole" : "sharp";
}

bool parseScaleMode(std::string_view word, ScaleMode& mode) {
    if (word == "sharp") {
        mode = ScaleMode::kSharp;
        return true;
    }
    if (word == "whole") {
        mode = ScaleMode::kWhole;
        return true;
    }
    return false;
}

Settings parseSettings(std::string_view text, std::vector<std::string>& problems) {
    Settings settings;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::string_view raw = takeLine(text);
        ++lineNumber;
        const std::string_view line = trimBlanks(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        const auto equals = line.find('=');
        const std::string_view name = trimBlanks(line.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view()
                                           : trimBlanks(line.substr(equals + 1));
        const auto known = std::find_if(kSettingLines.begin(), kSettingLines.end(),
                                        [&](const SettingLine& s) { return s.name == name; });
        // Built with appends, one string: the web page's code stays small.
        std::string problem = std::to_string(lineNumber);
        if (equals == std::string_view::npos) {
            problem += ": expected \"name = value\"";
        } else if (known == kSettingLines.end()) {
            problem.append(": unknown setting \"").append(name).append("\"");
        } else if (!readValue(*known, value, settings)) {
            problem.append(": bad value \"").append(value).append("\" for ").append(name);
        } else {
            continue;
        }
        problems.push_back(std::move(problem));
    }
    return settings;
}

void keepChangedSettings(const Settings& before, const Settings& after, Settings& kept) {
    // Through each setting's text: one way for every kind, and small.
    for (const SettingLine& line : kSettingLines) {
        const std::string value = valueText(line, after);
        if (value != valueText(line, before)) readValue(line, value, kept);
    }
}

std::string formatSettings(const Settings& settings) {
    std::string text = "# Kolvane settings\n";
    for (const SettingLine& line : kSettingLines) {
        const std::string value = valueText(line, settings);
        text.append(line.name).append(value.empty() ? " =" : " = ").append(value) += '\n';
    }
    return text;
}

}  // namespace kolvane
