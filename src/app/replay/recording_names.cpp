#include "app/replay/recording_names.h"

#include <algorithm>
#include <utility>

#include "app/replay/recording.h"
#include "app/text/utc_time.h"

namespace kolvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string recordingFileName(std::int64_t startedAt, std::uint64_t instance) {
    UtcText text{};
    std::string name(formatUtc(startedAt, text));
    name.pop_back();  // the Z
    // Colons can't be in a Windows file name.
    std::replace(name.begin(), name.end(), ':', '-');
    name[10] = '_';
    name += '_' + std::to_string(instance);
    name += kRecordingExtension;
    return name;
}

bool isRecordingFileName(std::string_view name) {
    // YYYY-MM-DD_hh-mm-ss_N.kolvane
    constexpr std::string_view kPattern = "dddd-dd-dd_dd-dd-dd_";
    if (name.size() <= kPattern.size() + kRecordingExtension.size() ||
        name.substr(name.size() - kRecordingExtension.size()) != kRecordingExtension) {
        return false;
    }
    for (std::size_t i = 0; i < kPattern.size(); ++i) {
        if (kPattern[i] == 'd' ? !isDigit(name[i]) : name[i] != kPattern[i]) return false;
    }
    const std::string_view number =
        name.substr(kPattern.size(), name.size() - kPattern.size() - kRecordingExtension.size());
    return number.size() <= 20 && std::all_of(number.begin(), number.end(), isDigit);
}

std::vector<std::string> recordingsToDelete(std::vector<std::string> names, const ScoreTable& table,
                                            std::span<const std::string> alsoKept,
                                            std::size_t keepRecent) {
    // An insertion sort: a few dozen names, and much less code than std::sort
    // in the web page, whose size counts.
    for (std::size_t i = 1; i < names.size(); ++i) {
        for (std::size_t j = i; j > 0 && names[j] < names[j - 1]; --j)
            std::swap(names[j], names[j - 1]);
    }
    const std::size_t recentFrom = names.size() > keepRecent ? names.size() - keepRecent : 0;
    std::vector<std::string> doomed;
    for (std::size_t i = 0; i < recentFrom; ++i) {
        const bool inTable =
            std::any_of(table.entries.begin(), table.entries.end(),
                        [&](const ScoreEntry& e) { return e.recording == names[i]; });
        const bool kept = std::find(alsoKept.begin(), alsoKept.end(), names[i]) != alsoKept.end();
        if (!inTable && !kept) doomed.push_back(names[i]);
    }
    return doomed;
}

std::vector<std::string> recordingsToPrune(std::vector<std::string> listed, std::string_view own,
                                           const ScoreTable& table,
                                           std::span<const std::string> alsoKept) {
    std::erase_if(listed, [own](const std::string& name) {
        return name == own || !isRecordingFileName(name);
    });
    if (listed.size() <= kKeptRecentRecordings) return {};
    return recordingsToDelete(std::move(listed), table, alsoKept);
}

std::vector<std::string> recordingNamesIn(std::string_view text) {
    std::vector<std::string> names;
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpace(text[at])) ++at;
        std::size_t end = at;
        while (end < text.size() && !isSpace(text[end])) ++end;
        const std::string_view word = text.substr(at, end - at);
        if (isRecordingFileName(word)) names.emplace_back(word);
        at = end;
    }
    return names;
}

}  // namespace kolvane
