#pragma once
// A lock that two instances of the game take around the read-merge-write of a
// kept file, so that neither loses the other's update: flock on a lock file
// beside it (LockFileEx on Windows). The lock goes when the object does, and
// with the process, however it ends.
#include <string>

namespace kolvane {

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // Creates the lock file when there is none and takes the lock, waiting up
    // to timeoutMs for another holder; false with the reason in error.
    bool acquire(const std::string& path, int timeoutMs, std::string& error);
    void release();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace kolvane
