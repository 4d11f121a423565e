#pragma once
// What must hold at the end of every tick, whatever keys were pressed: the
// counts and timers stay in their ranges, the message line stays a short
// terminated text, and everything that wraps is inside the client rectangle
// (both far edges included: the fold and a teleport can land exactly there).
#include <string>

#include "core/geometry.h"

namespace kolvane {
struct GameWorld;
}

namespace kolvane::soak {

// The longest text the message line ever holds.
inline constexpr int kMaxMessageLength = 32;

// Each returns true when its invariants hold; otherwise false with problem
// describing the first one broken. They allocate only to describe a problem.

// Counts, timers, the message line, lives and missiles.
bool checkCounters(const GameWorld& world, std::string& problem);
// Every active asteroid, bullet, missile and capsule, and the active ship,
// within [0, W] x [0, H] of the client rectangle.
bool checkPlaces(const GameWorld& world, const Rect& client, std::string& problem);
// Both.
bool checkInvariants(const GameWorld& world, const Rect& client, std::string& problem);

}  // namespace kolvane::soak
