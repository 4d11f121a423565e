// The system's random bytes on Linux: getrandom, which waits only until the
// kernel's pool was seeded once at boot.
#include <sys/random.h>

#include <cerrno>

#include "app/network/system_random.h"

namespace kolvane {

bool systemRandomBytes(unsigned char* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::getrandom(bytes + done, count - done, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kolvane
