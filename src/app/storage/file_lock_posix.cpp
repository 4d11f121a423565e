// The lock on POSIX systems: flock, on a file opened without following links.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/storage/file_lock.h"

namespace kolvane {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(10);

}  // namespace

bool FileLock::acquire(const std::string& path, int timeoutMs, std::string& error) {
    release();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        error = errno == ELOOP ? "\"" + path + "\" is a link, not a lock file (refused)"
                               : "cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            file_ = fd;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error = "cannot lock \"" + path + "\": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kRetry);
    }
    ::close(fd);
    error = "\"" + path + "\" stayed locked by another instance";
    return false;
}

void FileLock::release() {
    if (file_ < 0) return;
    ::close(static_cast<int>(file_));  // closing the only descriptor lets go of the lock
    file_ = -1;
}

}  // namespace kolvane
