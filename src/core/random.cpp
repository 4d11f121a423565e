#include "core/random.h"

#include <ctime>

#include "core/platform.h"

namespace kolvane {

namespace {

// The process-wide generator.
struct Generator {
    std::uint32_t state = 1;
    const Clock* clock = nullptr;
};

Generator generator;

}  // namespace

void srand(std::uint32_t seed) {
    generator.state = seed;
}

std::int32_t rand() {
    generator.state = generator.state * 214013u + 2531011u;
    return static_cast<std::int32_t>((generator.state >> 16) & 0x7FFFu);
}

std::int32_t time() {
    if (generator.clock != nullptr) return generator.clock->timeSeconds();
    return static_cast<std::int32_t>(std::time(nullptr));
}

std::uint32_t randomState() {
    return generator.state;
}

void bindRandomClock(const Clock* clock) {
    generator.clock = clock;
}

std::int32_t randomInt(std::int32_t lo, std::int32_t hi) {
    const auto a = static_cast<std::uint32_t>(rand());
    const auto b = static_cast<std::uint32_t>(rand());
    const auto t = static_cast<std::uint32_t>(time());
    srand(a * b * (t * 7u));
    // Outside the contract (hi < 0 or lo > 32767) no draw can succeed; give lo
    // rather than loop for ever.
    if (hi < 0 || lo > 32767 || lo > hi) return lo;
    // rand() never exceeds 32767, so a larger bound draws the same values
    // (and hi + 1 cannot overflow).
    if (hi > 32767) hi = 32767;
    std::int32_t r;
    do {
        r = rand() % (hi + 1);
    } while (r < lo || r > hi);
    return r;
}

}  // namespace kolvane
