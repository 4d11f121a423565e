#include "app/settings/settings.h"

#include <charconv>

#include "app/text/text_line.h"

namespace kolvane {

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

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

bool parseVolume(std::string_view word, int& volume) {
    int v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc{} || end != word.data() + word.size() || v < 0 ||
        v > Settings::kMaxVolume) {
        return false;
    }
    volume = v;
    return true;
}

const char* flagName(bool value) {
    return value ? "true" : "false";
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
        const std::string_view line = trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        const std::string where = std::to_string(lineNumber) + ": ";
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back(where + "expected \"name = value\"");
            continue;
        }
        const std::string_view name = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        bool ok = true;
        if (name == "scale_mode") {
            ok = parseScaleMode(value, settings.scaleMode);
        } else if (name == "fullscreen") {
            ok = parseFlag(value, settings.fullscreen);
        } else if (name == "record") {
            ok = parseFlag(value, settings.record);
        } else if (name == "show_scores") {
            ok = parseFlag(value, settings.showScores);
        } else if (name == "volume") {
            ok = parseVolume(value, settings.volume);
        } else if (name == "muted") {
            ok = parseFlag(value, settings.muted);
        } else {
            problems.push_back(where + "unknown setting \"" + std::string(name) + "\"");
            continue;
        }
        if (!ok) {
            problems.push_back(where + "bad value \"" + std::string(value) + "\" for " +
                               std::string(name));
        }
    }
    return settings;
}

std::string formatSettings(const Settings& s) {
    std::string text = "# Kolvane settings\n";
    text += "scale_mode = " + std::string(scaleModeName(s.scaleMode)) + "\n";
    text += "fullscreen = " + std::string(flagName(s.fullscreen)) + "\n";
    text += "record = " + std::string(flagName(s.record)) + "\n";
    text += "show_scores = " + std::string(flagName(s.showScores)) + "\n";
    text += "volume = " + std::to_string(s.volume) + "\n";
    text += "muted = " + std::string(flagName(s.muted)) + "\n";
    return text;
}

}  // namespace kolvane
