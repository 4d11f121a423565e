#include "app/web/page_store.h"

#include <optional>
#include <vector>

#include "app/replay/recording_names.h"
#include "app/web/page.h"
#include "app/web/page_storage.h"

namespace kolvane::web {

void PageStore::open(std::string_view ownRecording) {
    own_ = ownRecording;
    bool whole = true;
    table_ = loadTable(whole);
    tableNew_ = true;
    // page.js lists the recordings kept and hands them to prune().
    kolvane_list_recordings();
}

ScoreTable PageStore::loadTable(bool& whole) {
    ScoreTable table;
    whole = true;
    const std::optional<std::string> text = readItem(Storage::kLocal, kScoresItem);
    if (!text) return table;
    std::string error;
    if (!parseScoreTable(*text, table, error)) {
        whole = false;
        const std::string problem =
            "The high-score table could not be read (" + error + "); it starts afresh.";
        kolvane_log(problem.c_str());
        kolvane_show_problem(problem.c_str());
        writeItem(Storage::kLocal, kBadScoresItem, *text);
        removeItem(Storage::kLocal, kScoresItem);
    }
    return table;
}

void PageStore::keepRecording(const RecordingSnapshot& recording) {
    std::string text(recording.text);
    text += recording.pendingTicks;
    const GameResult* best = nullptr;
    for (const FinishedGame& game : recording.games) {
        if (best == nullptr || game.result.score > best->score) best = &game.result;
    }
    kolvane_store_recording(std::string(recording.name).c_str(), text.c_str(),
                            static_cast<int>(text.size()), static_cast<int>(recording.startedAt),
                            static_cast<int>(recording.games.size()),
                            best != nullptr ? best->score : 0, best != nullptr ? best->level : 0);
}

void PageStore::keepGames(std::vector<ScoreEntry> games) {
    bool whole = true;
    ScoreTable table = loadTable(whole);
    bool changed = false;
    for (const ScoreEntry& game : games) changed = insertScore(table, game) > 0 || changed;
    if (changed && !writeItem(Storage::kLocal, kScoresItem, formatScoreTable(table))) {
        kolvane_show_problem("The browser's storage is full: the high scores can't be kept.");
    }
    table_ = std::move(table);
    tableNew_ = true;
    kolvane_scores_changed();
}

bool PageStore::takeTable(ScoreTable& table) {
    if (!tableNew_) return false;
    tableNew_ = false;
    table = table_;
    return true;
}

void PageStore::prune(std::string_view names) const {
    std::vector<std::string> listed;
    while (!names.empty()) {
        const std::size_t end = names.find('\n');
        listed.emplace_back(names.substr(0, end));
        names = end == std::string_view::npos ? std::string_view() : names.substr(end + 1);
    }
    bool whole = true;
    const ScoreTable table = loadTable(whole);
    // Only against a table read whole; never what a table set aside names.
    if (!whole) return;
    const std::vector<std::string> aside =
        recordingNamesIn(readItem(Storage::kLocal, kBadScoresItem).value_or(std::string()));
    const std::vector<std::string> doomed = recordingsToPrune(std::move(listed), own_, table, aside);
    for (const std::string& name : doomed) {
        kolvane_delete_recording(name.c_str());
    }
}

Settings loadPageSettings() {
    const std::optional<std::string> text = readItem(Storage::kLocal, kSettingsItem);
    if (!text) return Settings{};
    std::vector<std::string> problems;
    const Settings settings = parseSettings(*text, problems);
    for (const std::string& problem : problems) {
        kolvane_log(("settings line " + problem + " (ignored)").c_str());
    }
    return settings;
}

void PageSettings::keep(const Settings& settings) {
    if (!writeItem(Storage::kLocal, kSettingsItem, formatSettings(settings))) {
        kolvane_log("the settings can't be kept in this browser");
    }
}

}  // namespace kolvane::web
