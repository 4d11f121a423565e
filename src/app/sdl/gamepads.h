#pragma once
// Gamepads in the SDL window, through SDL's game controller API: its built-in
// mappings, plus gamecontrollerdb.txt in the config folder when there is one.
// Pads come and go while the game runs; each tick every pad is read and what
// it does goes to the session as key events (gamepad_keys.h). With no pad
// nothing changes.
#include <SDL.h>

#include <array>
#include <filesystem>

#include "app/front_end/gamepad_keys.h"

namespace kolvane {
class Session;
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
    bool handleEvent(const SDL_Event& event, Session& session);
    // Reads every pad and gives the session the key events they make.
    void poll(Session& session);

    int count() const;

private:
    void add(int deviceIndex);
    void remove(SDL_JoystickID id, Session& session);

    bool started_ = false;
    std::array<SDL_GameController*, GamepadKeys::kMaxPads> pads_{};
    GamepadKeys keys_;
};

}  // namespace kolvane::sdl
