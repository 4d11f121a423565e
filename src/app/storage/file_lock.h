#pragma once
// A lock that two instances of the game take around the read-merge-write of a
// kept file, so that neither loses the other's update: flock on a lock file
// beside it (LockFileEx on Windows: file_lock_posix.cpp, file_lock_windows.cpp).
// The lock file is never opened through a link: one planted in its place is
// refused, and nothing is made where it points. The lock goes when the object
// does, and with the process, however it ends.
#include <cstdint>
#include <string>

namespace kolvane {

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // Creates the lock file when there is none and takes the lock, waiting up
    // to timeoutMs for another holder; false with the reason in error (also
    // when the path is a link).
    bool acquire(const std::string& path, int timeoutMs, std::string& error);
    void release();

private:
    // The open lock file (a descriptor, or a Windows handle); -1: none.
    std::intptr_t file_ = -1;
};

}  // namespace kolvane
