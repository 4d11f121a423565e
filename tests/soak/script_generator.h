#pragma once
// Random key scripts for soaking the game: plausible play (bursts of held
// arrows, fire, secondary fire, pause and resume, S to start again after the
// game ends) and chaos (any key-down, repeats and releases of all 256 codes).
// Neither ever sends Escape, so a run lasts as long as its tick budget.
// The generator has its own random numbers, so a soak never disturbs the
// game's generator; the same style and seed always give the same script.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/session/script.h"

namespace kolvane::soak {

// SplitMix64: small, fast and good enough to pick keys and durations.
class SoakRandom {
public:
    explicit SoakRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // A whole number in [lo, hi].
    int between(int lo, int hi);
    // True with the given chance in 1000.
    bool perMille(int chance) { return between(0, 999) < chance; }

private:
    std::uint64_t state_;
};

enum class Style : std::uint8_t { kPlay, kChaos };

// "play" or "chaos"; false for any other word.
bool parseStyle(std::string_view word, Style& style);
const char* styleName(Style style);

// One script command: tick (count), down, repeat, up or press (key).
struct Step {
    CommandKind kind = CommandKind::kTick;
    int key = 0;
    std::int32_t count = 1;

    Command command() const {
        return kind == CommandKind::kTick ? tickCommand(count) : keyCommand(kind, key);
    }
};

class ScriptGenerator {
public:
    ScriptGenerator(Style style, std::uint64_t seed);

    // The next command. A tick step's count is at most maxTicks (at least 1).
    Step next(std::int32_t maxTicks);

private:
    static constexpr int kQueueSize = 32;
    static constexpr int kArrows = 4;

    void push(CommandKind kind, int key, std::int32_t count = 1);
    void planPlay();
    void planChaos();

    Style style_;
    SoakRandom random_;
    std::array<Step, kQueueSize> queue_{};
    int head_ = 0;
    int size_ = 0;

    // Play: which arrows are held, the ticks left before each is released
    // (0: due now), and before its next auto-repeat.
    std::array<bool, kArrows> held_{};
    std::array<int, kArrows> holdLeft_{};
    std::array<int, kArrows> repeatIn_{};
    int fireBurstLeft_ = 0;  // ticks of rapid fire still to come
    int pausedFor_ = 0;      // ticks to stay paused before a key resumes
};

// The script line of a step, newline included ("tick 3\n", "down 0x25\n").
void appendLine(std::string& out, const Step& step);

}  // namespace kolvane::soak
