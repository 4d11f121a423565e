#pragma once
// SDL keys as the game's virtual-key codes: key-down events carry the code of
// the key's symbol (so letters follow the keyboard layout), and the held-key
// state is the byte table the game reads, 0x80 for every key that is down.
#include <SDL.h>

#include <cstdint>

#include "core/platform.h"

namespace kolvane::sdl {

// The virtual-key code of a key symbol, or 0 for a key the game has no code for.
int virtualKeyFromKeycode(SDL_Keycode key);

// The key data of a key-down: a repeat count of one, and bit 30 when the key
// was already down (an auto-repeat).
std::int64_t keyDataFor(bool repeat);

// Fills `keys` from SDL's scancode-indexed state (`count` entries): every
// pressed key sets its code, and a shift, control or alt key also sets the
// code shared by its left and right keys.
void readHeldKeys(const Uint8* state, int count, KeyboardState& keys);

}  // namespace kolvane::sdl
