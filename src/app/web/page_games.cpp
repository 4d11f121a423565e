#include "app/web/page_games.h"

#include <vector>

#include "app/replay/recording_names.h"
#include "app/storage/kept_games.h"
#include "app/storage/score_entry.h"
#include "app/version.h"
#include "app/web/page.h"
#include "app/web/page_storage.h"

namespace kolvane::web {

namespace {
constexpr std::string_view kFrontEnd = "web page";
}

PageGames::PageGames(bool record, std::int64_t startedAt, std::uint64_t instance)
    : record_(record),
      recorder_(kVersion, kFrontEnd, startedAt),
      name_(record ? recordingFileName(startedAt, instance) : std::string()),
      table_(loadTable()) {}

void PageGames::attach(Session& session) {
    session.addListener(recorder_);
}

ScoreTable PageGames::loadTable() {
    ScoreTable table;
    const std::optional<std::string> text = readItem(Storage::kLocal, kScoresItem);
    if (!text) return table;
    std::string error;
    if (!parseScoreTable(*text, table, error)) {
        const std::string problem =
            "The high-score table could not be read (" + error + "); it starts afresh.";
        kolvane_log(problem.c_str());
        kolvane_show_problem(problem.c_str());
        writeItem(Storage::kLocal, kBadScoresItem, *text);
        removeItem(Storage::kLocal, kScoresItem);
    }
    return table;
}

void PageGames::afterTick(const Session& session) {
    const auto& finished = recorder_.finishedGames();
    const bool gameOver = gamesKept_ < finished.size();
    // The recording first, so that the table never names a game it lacks.
    if (gameOver || session.ticksDone() - storedAtTick_ >= kRecordingWriteTicks) store(session);
    if (!gameOver) return;
    ScoreTable table = loadTable();
    bool changed = false;
    for (; gamesKept_ < finished.size(); ++gamesKept_) {
        const ScoreEntry entry = scoreEntryOf(finished[gamesKept_], session.startedFrom(), name_);
        changed = insertScore(table, entry) > 0 || changed;
    }
    if (changed && !writeItem(Storage::kLocal, kScoresItem, formatScoreTable(table))) {
        kolvane_show_problem("The browser's storage is full: the high scores can't be kept.");
    }
    table_ = std::move(table);
    ++tableChanges_;
    kolvane_scores_changed();
}

void PageGames::store(const Session& session) {
    storedAtTick_ = session.ticksDone();
    if (!record_) return;
    const std::string text = recorder_.wholeText();
    const auto& finished = recorder_.finishedGames();
    const GameResult* best = nullptr;
    for (const FinishedGame& game : finished) {
        if (best == nullptr || game.result.score > best->score) best = &game.result;
    }
    kolvane_store_recording(name_.c_str(), text.c_str(), static_cast<int>(text.size()),
                            static_cast<int>(session.startedFrom().clockSeconds),
                            static_cast<int>(finished.size()), best != nullptr ? best->score : 0,
                            best != nullptr ? best->level : 0);
}

void PageGames::prune(std::string_view names) const {
    std::vector<std::string> kept;
    while (!names.empty()) {
        const std::size_t end = names.find('\n');
        const std::string_view name = names.substr(0, end);
        if (name != name_ && isRecordingFileName(name)) kept.emplace_back(name);
        names = end == std::string_view::npos ? std::string_view() : names.substr(end + 1);
    }
    if (kept.size() <= kKeptRecentRecordings) return;
    for (const std::string& name : recordingsToDelete(kept, loadTable())) {
        kolvane_delete_recording(name.c_str());
    }
}

}  // namespace kolvane::web
