#pragma once
// The replay runner's platform: keys held by the script, a clock that runs at
// exactly 15 ms per completed tick, quit recorded rather than obeyed at once,
// and message boxes written to the error stream instead of blocking.
#include <cstdint>
#include <cstdio>

#include "core/platform.h"

namespace kolvane::sim {

class SimPlatform final : public Platform {
public:
    static constexpr std::int64_t kTickMilliseconds = 15;

    SimPlatform(std::int32_t startSeconds, std::FILE* errors)
        : startSeconds_(startSeconds), errors_(errors) {}

    void readKeyboard(KeyboardState& keys) const override { keys = held_; }
    // The start time plus the whole seconds of the ticks done so far; the sum
    // wraps like a 32-bit clock.
    std::int32_t timeSeconds() const override {
        const std::int64_t seconds = startSeconds_ + ticksDone_ * kTickMilliseconds / 1000;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
    }
    void quit() override { quitRequested_ = true; }
    void messageBox(const char* text, const char* caption) override {
        if (errors_ != nullptr) std::fprintf(errors_, "%s: %s\n", caption, text);
    }

    void hold(int key) { held_[static_cast<std::uint8_t>(key)] = kHeld; }
    void release(int key) { held_[static_cast<std::uint8_t>(key)] = 0; }
    bool isHeld(int key) const { return held_[static_cast<std::uint8_t>(key)] != 0; }
    void tickDone() { ++ticksDone_; }
    std::int64_t ticksDone() const { return ticksDone_; }
    bool quitRequested() const { return quitRequested_; }

private:
    static constexpr std::uint8_t kHeld = 0x80;

    std::int64_t startSeconds_;
    std::FILE* errors_;
    KeyboardState held_{};
    std::int64_t ticksDone_ = 0;
    bool quitRequested_ = false;
};

}  // namespace kolvane::sim
