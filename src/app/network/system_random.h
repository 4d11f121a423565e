#pragma once
// Bytes from the operating system's random source (getrandom on Linux,
// BCryptGenRandom on Windows): for secrets, never for the game.
#include <cstddef>

namespace kolvane {

// Fills bytes[0, count); false when the system can't.
bool systemRandomBytes(unsigned char* bytes, std::size_t count);

}  // namespace kolvane
