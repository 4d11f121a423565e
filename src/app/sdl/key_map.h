#pragma once
// SDL keys as the game's virtual-key codes: a key-down carries the code of
// the key's symbol, so letters follow the keyboard layout; where the layout
// puts no Latin letter or digit on a letter or digit key (Cyrillic, Greek),
// the key's position gives it. Every other key gets the neutral code, so
// every key reaches the game.
#include <SDL.h>

namespace kolvane::sdl {

// The virtual-key code of a key: never 0.
int virtualKeyOf(const SDL_Keysym& key);

}  // namespace kolvane::sdl
