#pragma once
// What a game that ended goes into the high-score table as: its score and
// level, when it ended and how long it lasted by the session's clock, and the
// recording and tick that prove it. The same for every front end, wherever
// it keeps the table.
#include <string_view>

#include "app/replay/recorder.h"
#include "app/scores/score_table.h"
#include "app/session/session.h"

namespace kolvane {

// recording: the recording's name, or empty when the session is not recorded.
ScoreEntry scoreEntryOf(const FinishedGame& game, const SessionStart& start,
                        std::string_view recording);

}  // namespace kolvane
