#include "app/settings/settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <variant>

#include "app/text/text_line.h"
#include "app/text/whole_number.h"
#include "app/text/words.h"

namespace kolvane {

namespace {

// Where a setting's value lives, and what it takes.
struct WholeSetting {
    int Settings::*field;
    int least;
    int most;
};
// A line of text: UTF-8 without control characters, at most maxLength bytes,
// blanks at either end dropped (and no '#', which starts a comment).
struct TextSetting {
    std::string Settings::*field;
    std::size_t maxLength;
};
// A kind of value more is one more alternative here and one more case in
// readValue and valueText.
using SettingField =
    std::variant<bool Settings::*, ScaleMode Settings::*, WholeSetting, TextSetting>;

struct SettingLine {
    std::string_view name;
    SettingField field;
};

// Every setting, in the order the file lists them; the defaults are
// Settings' own. A new setting is one line here (and its member).
const std::array<SettingLine, 10> kSettingLines{{
    {"scale_mode", &Settings::scaleMode},
    {"fullscreen", &Settings::fullscreen},
    {"record", &Settings::record},
    {"show_scores", &Settings::showScores},
    {"volume", WholeSetting{&Settings::volume, 0, Settings::kMaxVolume}},
    {"muted", &Settings::muted},
    {"server", TextSetting{&Settings::server, Settings::kMaxServerLength}},
    {"name", TextSetting{&Settings::name, Settings::kMaxNameLength}},
    {"submit", &Settings::submit},
    {"world_scores", &Settings::worldScores},
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

// Reads a value into its setting; false when it is not one the setting takes.
bool readValue(const SettingField& field, std::string_view value, Settings& settings) {
    struct Reader {
        std::string_view value;
        Settings& settings;
        bool operator()(bool Settings::*flag) const { return parseFlag(value, settings.*flag); }
        bool operator()(ScaleMode Settings::*mode) const {
            return parseScaleMode(value, settings.*mode);
        }
        bool operator()(const WholeSetting& whole) const {
            int n = 0;
            if (!parseWhole(value, n) || n < whole.least || n > whole.most) return false;
            settings.*whole.field = n;
            return true;
        }
        bool operator()(const TextSetting& text) const {
            if (textLineProblem(value, text.maxLength)) return false;
            settings.*text.field = std::string(value);
            return true;
        }
    };
    return std::visit(Reader{value, settings}, field);
}

std::string valueText(const SettingField& field, const Settings& settings) {
    struct Writer {
        const Settings& settings;
        std::string operator()(bool Settings::*flag) const {
            return settings.*flag ? "true" : "false";
        }
        std::string operator()(ScaleMode Settings::*mode) const {
            return scaleModeName(settings.*mode);
        }
        std::string operator()(const WholeSetting& whole) const {
            return std::to_string(settings.*whole.field);
        }
        std::string operator()(const TextSetting& text) const { return settings.*text.field; }
    };
    return std::visit(Writer{settings}, field);
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
        const std::string where = std::to_string(lineNumber) + ": ";
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back(where + "expected \"name = value\"");
            continue;
        }
        const std::string_view name = trimBlanks(line.substr(0, equals));
        const std::string_view value = trimBlanks(line.substr(equals + 1));
        const auto known = std::find_if(kSettingLines.begin(), kSettingLines.end(),
                                        [&](const SettingLine& s) { return s.name == name; });
        if (known == kSettingLines.end()) {
            problems.push_back(where + "unknown setting \"" + std::string(name) + "\"");
        } else if (!readValue(known->field, value, settings)) {
            problems.push_back(where + "bad value \"" + std::string(value) + "\" for " +
                               std::string(name));
        }
    }
    return settings;
}

std::string formatSettings(const Settings& settings) {
    std::string text = "# Kolvane settings\n";
    for (const SettingLine& line : kSettingLines) {
        const std::string value = valueText(line.field, settings);
        text += std::string(line.name) + (value.empty() ? " =\n" : " = " + value + "\n");
    }
    return text;
}

}  // namespace kolvane
