#include "app/template/memory_store.h"

namespace kolvane {

void MemoryStore::open(std::string_view /*ownRecording*/) {
    opened_ = true;
    tableNew_ = true;
}

void MemoryStore::keepRecording(const RecordingSnapshot& recording) {
    std::string& text = recordings_[std::string(recording.name)];
    text.assign(recording.text);
    text += recording.pendingTicks;
}

void MemoryStore::keepGames(std::vector<ScoreEntry> games) {
    for (const ScoreEntry& game : games) insertScore(table_, game);
    tableNew_ = true;
}

bool MemoryStore::takeTable(ScoreTable& table) {
    if (!tableNew_) return false;
    tableNew_ = false;
    table = table_;
    return true;
}

void MemoryStore::setTable(const ScoreTable& table) {
    table_ = table;
    tableNew_ = true;
}

}  // namespace kolvane
