#pragma once
// A platform for tests: keys held by hand, a fixed clock, quit and message
// boxes recorded instead of shown.
#include <string>
#include <vector>

#include "core/platform.h"

namespace kolvane::testing {

class FakePlatform final : public Platform {
public:
    void readKeyboard(KeyboardState& keys) const override { keys = held; }
    std::int32_t timeSeconds() const override { return seconds; }
    void quit() override { ++quits; }
    void messageBox(const char* text, const char* caption) override {
        boxes.push_back(std::string(caption) + ": " + text);
    }

    void hold(int virtualKey) { held[virtualKey] = 0x80; }
    void release(int virtualKey) { held[virtualKey] = 0; }

    KeyboardState held{};
    std::int32_t seconds = 1000000000;
    int quits = 0;
    std::vector<std::string> boxes;
};

}  // namespace kolvane::testing
