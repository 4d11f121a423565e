#pragma once
// The game's platform in a web page: the held keys as the page's key events
// left them, the browser's clock, message boxes as alert dialogs, and a quit
// request the page checks after every key and tick.
#include "core/platform.h"

namespace kolvane::web {

class WebPlatform final : public Platform {
public:
    void readKeyboard(KeyboardState& keys) const override { keys = held_; }
    std::int32_t timeSeconds() const override;
    void quit() override { quitRequested_ = true; }
    void messageBox(const char* text, const char* caption) override;

    bool quitRequested() const { return quitRequested_; }
    void hold(int key) { held_[static_cast<std::uint8_t>(key)] = kHeld; }
    void release(int key) { held_[static_cast<std::uint8_t>(key)] = 0; }
    // The page lost the keyboard: it will see no key-up for the keys now down.
    void releaseAll() { held_ = {}; }

private:
    static constexpr std::uint8_t kHeld = 0x80;

    KeyboardState held_{};
    bool quitRequested_ = false;
};

}  // namespace kolvane::web
