#pragma once
// The game's only source of randomness: a bounded integer drawn after
// reseeding the generator from its own output and the current second.
#include <cstdint>

namespace kolvane {

class Clock;

// The generator's own primitives (never the C library's).
void srand(std::uint32_t seed);
std::int32_t rand();  // 0..32767
std::int32_t time();  // whole seconds, from the bound clock

// The generator's 32-bit state, for traces and tests.
std::uint32_t randomState();

// The clock that reseeding reads. Unbound, it is the system clock.
void bindRandomClock(const Clock* clock);

// A value in [lo, hi] for 0 <= lo <= hi <= 32767.
std::int32_t randomInt(std::int32_t lo, std::int32_t hi);

}  // namespace kolvane
