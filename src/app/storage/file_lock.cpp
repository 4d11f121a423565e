#include "app/storage/file_lock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kolvane {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(10);

}  // namespace

#ifdef _WIN32

bool FileLock::acquire(const std::string& path, int timeoutMs, std::string& error) {
    release();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error =
            "cannot open \"" + path + "\" (Windows error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        OVERLAPPED whole{};
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                         &whole) != 0) {
            handle_ = file;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kRetry);
    }
    ::CloseHandle(file);
    error = "\"" + path + "\" stayed locked by another instance";
    return false;
}

void FileLock::release() {
    if (handle_ == nullptr) return;
    OVERLAPPED whole{};
    ::UnlockFileEx(handle_, 0, 1, 0, &whole);
    ::CloseHandle(handle_);
    handle_ = nullptr;
}

#else

bool FileLock::acquire(const std::string& path, int timeoutMs, std::string& error) {
    release();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
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
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor lets go of the lock
    fd_ = -1;
}

#endif

}  // namespace kolvane
