#pragma once
// One soak: a generated script played through the replay runner's game (the
// real frame cycle: a tick and a paint per tick, key-downs between ticks),
// with the invariants checked after every tick. A failure names the tick and
// the two commands that replay the same run with kolvane-sim.
#include <cstdint>
#include <string>

#include "soak/script_generator.h"

namespace kolvane::soak {

struct SoakCase {
    Style style = Style::kPlay;
    std::uint64_t scriptSeed = 1;
    std::int32_t width = 740;
    std::int32_t height = 580;
    std::int32_t clock = 1000000000;
    std::uint32_t gameSeed = 1;
    std::int64_t ticks = 1000;
};

// What the run went through, to show that the soak reached the game's states.
struct SoakReport {
    std::int64_t ticks = 0;
    std::int64_t keyDowns = 0;
    int gamesStarted = 0;
    int gamesOver = 0;
    int levelsCleared = 0;
    int highestLevel = 0;
    int saucersLaunched = 0;
    int capsulesDropped = 0;
    int pauses = 0;
    bool ok = true;
    std::string problem;        // "tick N: what broke", when not ok
    std::string lastTraceLine;  // the trace line kolvane-sim writes for the last tick
};

SoakReport runSoak(const SoakCase& soak);

// The shell commands that replay a case with the real programs.
std::string replayCommand(const SoakCase& soak);

// One line of the report's figures.
std::string describe(const SoakReport& report);

}  // namespace kolvane::soak
