#pragma once
// What the game asks of the system it runs on, in four small interfaces: the
// held keys, the clock, message boxes, and quitting. Each part of the game
// takes only the one it uses; every front end provides all four at once.
#include <cstdint>

#include "core/keys.h"

namespace kolvane {

class Keyboard {
public:
    // The state of every key at this moment.
    virtual void readKeyboard(KeyboardState& keys) const = 0;

protected:
    ~Keyboard() = default;
};

class Clock {
public:
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual std::int32_t timeSeconds() const = 0;

protected:
    ~Clock() = default;
};

class MessageBoxes {
public:
    // A modal box with one OK button; returns when it is dismissed.
    virtual void messageBox(const char* text, const char* caption) = 0;

protected:
    ~MessageBoxes() = default;
};

class Platform : public Keyboard, public Clock, public MessageBoxes {
public:
    // Ends the program's message loop (exit code 0).
    virtual void quit() = 0;

protected:
    ~Platform() = default;
};

}  // namespace kolvane
