#pragma once
// Verification of a recording: its script replayed without a window, and the
// result of every game that ended compared with the game lines it claims. A
// recording whose keys or results were changed by hand does not agree.
#include <vector>

#include "app/replay/recording.h"
#include "app/session/session.h"

namespace kolvane {

// The results of the games that end when the script is played from start
// (shots are skipped: verifying writes no file).
std::vector<GameResult> replayGames(const Script& script, const SessionStart& start);

}  // namespace kolvane
