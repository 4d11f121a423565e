#pragma once
// One fuzz input: arbitrary bytes given to the replay runner's script reader,
// and whatever it accepts played through the game for a bounded number of
// ticks with the soak's invariants checked after each. Shared by the libFuzzer
// target and the regression test that replays the corpus in the normal suite.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kolvane::fuzz {

// The most ticks one input may run, whatever its tick counts say.
inline constexpr std::int64_t kMaxTicks = 2000;

// False with problem set when an invariant broke. A script the reader refuses
// is fine (it must only be refused cleanly). Shots are not taken: the fuzzer
// writes no files.
bool playScriptInput(const std::uint8_t* data, std::size_t size, std::string& problem);

}  // namespace kolvane::fuzz
