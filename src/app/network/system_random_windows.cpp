// The system's random bytes on Windows: BCryptGenRandom with the system's
// preferred generator.
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include "app/network/system_random.h"

namespace kolvane {

bool systemRandomBytes(unsigned char* bytes, std::size_t count) {
    return BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(count),
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

}  // namespace kolvane
