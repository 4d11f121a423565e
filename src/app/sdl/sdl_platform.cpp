#include "app/sdl/sdl_platform.h"

#include <ctime>

#include "app/sdl/keymap.h"

namespace kolvane::sdl {

void SdlPlatform::readKeyboard(KeyboardState& keys) const {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    readHeldKeys(state, count, keys);
}

std::int32_t SdlPlatform::timeSeconds() const {
    return static_cast<std::int32_t>(std::time(nullptr));
}

void SdlPlatform::messageBox(const char* text, const char* caption) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, window_);
}

}  // namespace kolvane::sdl
