#pragma once
// Gamepads in the SDL window, through SDL's game controller API: its built-in
// mappings, plus gamecontrollerdb.txt in the config folder when there is one.
// Pads come and go while the game runs; each tick every pad is read and its
// state goes to the front-end core, which turns it into the game's keys
// (gamepad_keys.h). With no pad nothing changes.
#include <SDL.h>

#include <array>
#include <filesystem>

#include "app/front_end/gamepad_keys.h"

namespace kolvane {
class FrontEndCore;
}

namespace kolvane::sdl {

inline constexpr const char* kGamepadMappingsFileName = "gamecontrollerdb.txt";

class Gamepads {
public:
    Gamepads() = default;
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;
    ~Gamepads();

    // Starts SDL's game controllers and opens the pads already there. Any
    // problem (no joystick support, a mappings file SDL can't read) goes to
    // `errors` on a line of its own and the game plays on without pads or
    // mappings.
    void open(const std::filesystem::path& configFolder, std::FILE* errors);
    // A pad plugged in or pulled out; false for any other event.
    bool handleEvent(const SDL_Event& event, FrontEndCore& core);
    // Reads every pad and hands its state to the core.
    void poll(FrontEndCore& core);

    int count() const;

private:
    void add(int deviceIndex);
    void remove(SDL_JoystickID id, FrontEndCore& core);

    bool started_ = false;
    std::array<SDL_GameController*, GamepadKeys::kMaxPads> pads_{};
};

}  // namespace kolvane::sdl
