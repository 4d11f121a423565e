#include "app/storage/score_entry.h"

#include "app/session/tick_and_field.h"

namespace kolvane {

ScoreEntry scoreEntryOf(const FinishedGame& game, const SessionStart& start,
                        std::string_view recording) {
    ScoreEntry entry;
    entry.score = game.result.score;
    entry.level = game.result.level;
    entry.date = start.clockSeconds + game.result.endTick * kTickMilliseconds / 1000;
    entry.durationSeconds = static_cast<std::int32_t>((game.result.endTick - game.startTick) *
                                                      kTickMilliseconds / 1000);
    entry.recording = recording.empty() ? std::string(kNoRecording) : std::string(recording);
    entry.endTick = game.result.endTick;
    return entry;
}

}  // namespace kolvane
