#include "app/sdl/gamepads.h"

#include <cstdio>
#include <string>

#include "app/front_end/front_end_core.h"
#include "app/storage/text_file.h"

namespace kolvane::sdl {

namespace {

// SDL's own gamecontrollerdb.txt is about 300 KB, with lines of some 300 bytes.
constexpr std::size_t kMaxMappingsBytes = 4 << 20;
constexpr std::size_t kMaxMappingLine = 4096;
constexpr float kAxisRange = 32767.0f;

void addMappings(const std::filesystem::path& folder, std::FILE* errors) {
    if (folder.empty()) return;
    const std::filesystem::path path = folder / kGamepadMappingsFileName;
    std::string text;
    std::string error;
    switch (readTextFile(path, kMaxMappingsBytes, kMaxMappingLine, text, error)) {
        case ReadOutcome::kMissing:
            return;
        case ReadOutcome::kRefused:
            std::fprintf(errors, "kolvane: gamepad mappings refused: %s\n", error.c_str());
            return;
        case ReadOutcome::kRead:
            break;
    }
    SDL_RWops* in = SDL_RWFromConstMem(text.data(), static_cast<int>(text.size()));
    if (in == nullptr || SDL_GameControllerAddMappingsFromRW(in, 1) < 0) {
        std::fprintf(errors, "kolvane: %s: %s\n", path.string().c_str(), SDL_GetError());
    }
}

PadState stateOf(SDL_GameController* pad) {
    const auto button = [pad](SDL_GameControllerButton b) {
        return SDL_GameControllerGetButton(pad, b) != 0;
    };
    const auto axis = [pad](SDL_GameControllerAxis a) {
        return static_cast<float>(SDL_GameControllerGetAxis(pad, a)) / kAxisRange;
    };
    PadState state;
    state.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
    state.down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    state.left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    state.right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    state.stickX = axis(SDL_CONTROLLER_AXIS_LEFTX);
    state.stickY = axis(SDL_CONTROLLER_AXIS_LEFTY);
    // SDL names the buttons by where they sit on an Xbox pad.
    state.south = button(SDL_CONTROLLER_BUTTON_A);
    state.east = button(SDL_CONTROLLER_BUTTON_B);
    state.west = button(SDL_CONTROLLER_BUTTON_X);
    state.start = button(SDL_CONTROLLER_BUTTON_START);
    state.back = button(SDL_CONTROLLER_BUTTON_BACK);
    return state;
}

}  // namespace

Gamepads::~Gamepads() {
    for (SDL_GameController*& pad : pads_) {
        if (pad != nullptr) SDL_GameControllerClose(pad);
        pad = nullptr;
    }
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::open(const std::filesystem::path& configFolder, std::FILE* errors) {
    // Buttons by position, also on pads that label them the other way round.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(errors, "kolvane: no gamepads: %s\n", SDL_GetError());
        return;
    }
    started_ = true;
    addMappings(configFolder, errors);
    // The pads already plugged in also come as "added" events; add() takes
    // each once.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) add(i);
}

void Gamepads::add(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* pad : pads_) {
        if (pad != nullptr && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id) {
            return;
        }
    }
    for (SDL_GameController*& pad : pads_) {
        if (pad == nullptr) {
            pad = SDL_GameControllerOpen(deviceIndex);
            return;
        }
    }
}

void Gamepads::remove(SDL_JoystickID id, FrontEndCore& core) {
    for (std::size_t slot = 0; slot < pads_.size(); ++slot) {
        SDL_GameController*& pad = pads_[slot];
        if (pad == nullptr || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) != id) {
            continue;
        }
        // What the pad held is let go.
        core.padState(static_cast<int>(slot), PadState{});
        SDL_GameControllerClose(pad);
        pad = nullptr;
    }
}

bool Gamepads::handleEvent(const SDL_Event& event, FrontEndCore& core) {
    if (!started_) return false;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            add(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            remove(event.cdevice.which, core);
            return true;
        default:
            return false;
    }
}

void Gamepads::poll(FrontEndCore& core) {
    for (std::size_t slot = 0; slot < pads_.size(); ++slot) {
        if (pads_[slot] != nullptr) core.padState(static_cast<int>(slot), stateOf(pads_[slot]));
    }
}

int Gamepads::count() const {
    int n = 0;
    for (const SDL_GameController* pad : pads_) n += pad != nullptr ? 1 : 0;
    return n;
}

}  // namespace kolvane::sdl
