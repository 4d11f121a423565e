#pragma once
// SDL keys as the game's virtual-key codes: a key-down carries the code of
// the key's symbol, so letters follow the keyboard layout.
#include <SDL.h>

namespace kolvane::sdl {

// The virtual-key code of a key symbol, or 0 for a key the game has no code for.
int virtualKeyFromKeycode(SDL_Keycode key);

}  // namespace kolvane::sdl
