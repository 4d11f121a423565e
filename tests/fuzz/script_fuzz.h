#pragma once
// One fuzz input: arbitrary bytes given to the replay runner's script reader
// within a small work budget, and whatever it accepts played through the game
// to its end with the soak's invariants checked after each tick. Shared by the
// libFuzzer target and the regression test that replays the corpus in the
// normal suite.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/session/script.h"

namespace kolvane::fuzz {

// The budget the fuzzers read under: the real limits' kinds, scaled down so
// that every input runs in milliseconds. libFuzzer gives at most 8192 bytes.
inline constexpr ScriptLimits kFuzzLimits{8192, 2000, 2000};

// What an accepted script may cost: no more ticks or key events than the
// limits, and commands that take at most twice the text's bytes (plus one).
// False with problem set when the script holds more.
bool withinBudget(const Script& script, std::size_t textBytes, const ScriptLimits& limits,
                  std::string& problem);

// False with problem set when an invariant or the budget broke. A script the
// reader refuses is fine (it must only be refused cleanly). Shots are not
// taken: the fuzzer writes no files.
bool playScriptInput(const std::uint8_t* data, std::size_t size, std::string& problem);

}  // namespace kolvane::fuzz
