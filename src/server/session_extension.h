#pragma once
// A session's recording grows: a window submits it after each game, all of
// them from the one ticket the session started from. A later recording with
// a used ticket is taken when it is the same session gone on, and then stands
// for it in the table (each game ranks once):
// - the same settings lines (clock, seed, size, ticket);
// - the earlier's commands, all of them, at the start of the later's, but for
//   the earlier's last run of ticks, which may have gone on longer;
// - the earlier's games at the start of the later's, the same results.
// Anything else with a used ticket is refused.
#include "app/replay/recording.h"

namespace kolvane::server {

bool extendsRecording(const Recording& earlier, const Recording& later);

}  // namespace kolvane::server
