#pragma once
// Shared pieces of the world tests: a target that tests can move, and a search
// for a seed whose first draws take a wanted course.
#include <cstdint>

#include "core/random.h"
#include "world/space_object.h"

namespace kolvane::testing {

// Something to aim at: a plain object placed by hand.
class Target final : public SpaceObject {
public:
    Target(Vec2 at, bool live) {
        position = at;
        active = live;
    }
    void draw(gfx::Surface&) override {}
    void update(const Rect*) override {}
    void moveTo(Vec2 at) { position = at; }
};

// The first seed for which `wanted` (which makes the same randomInt calls the
// code under test will make, in the same order) returns true; 0 if none. The
// caller binds the clock first, since the draws depend on it.
template <class Wanted>
std::uint32_t findSeed(Wanted wanted) {
    for (std::uint32_t seed = 1; seed < 3'000'000; ++seed) {
        srand(seed);
        if (wanted()) return seed;
    }
    return 0;
}

}  // namespace kolvane::testing
