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
        if (!inTable) doomed.push_back(names[i]);
    }
    return doomed;
}

}  // namespace kolvane
