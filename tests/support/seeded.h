#pragma once
// Puts the generator into a known state with a fixed clock for one test, and
// unbinds the clock afterwards.
#include "core/random.h"
#include "support/fake_platform.h"

namespace kolvane::testing {

class Seeded {
public:
    explicit Seeded(const FakePlatform& clock, std::uint32_t seed = 1) {
        bindRandomClock(&clock);
        srand(seed);
    }
    ~Seeded() { bindRandomClock(nullptr); }
    Seeded(const Seeded&) = delete;
    Seeded& operator=(const Seeded&) = delete;
};

}  // namespace kolvane::testing
