#pragma once
// The leaderboard's answers as the command line prints them.
#include <string>

#include "app/network/leaderboard_types.h"

namespace kolvane {

// The world table as `kolvane --world` prints it, in the form of
// `kolvane --scores` (scoreReport): one game a line, with the player and the
// recording's id (the server gives its file at /api/recordings/ID/file).
std::string worldReport(const WorldTable& table);

// A verdict in one line, without its end: "verified: score 1250, rank 17",
// "verified: score 530, not ranked: no ticket", "rejected: REASON",
// "queued: not verified yet".
std::string verdictLine(const Verdict& verdict);

}  // namespace kolvane
