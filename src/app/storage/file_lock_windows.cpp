// The lock on Windows: LockFileEx, on a file opened as itself when it is a
// link (a reparse point), which is then refused.
#include <windows.h>

#include <chrono>
#include <thread>

#include "app/storage/file_lock.h"

namespace kolvane {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(10);

bool isLink(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(file, &info) == 0 ||
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

bool FileLock::acquire(const std::string& path, int timeoutMs, std::string& error) {
    release();
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error =
            "cannot open \"" + path + "\" (Windows error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    if (isLink(file)) {
        ::CloseHandle(file);
        error = "\"" + path + "\" is a link, not a lock file (refused)";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        OVERLAPPED whole{};
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                         &whole) != 0) {
            file_ = reinterpret_cast<std::intptr_t>(file);
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
    if (file_ == -1) return;
    const auto file = reinterpret_cast<HANDLE>(file_);
    OVERLAPPED whole{};
    ::UnlockFileEx(file, 0, 1, 0, &whole);
    ::CloseHandle(file);
    file_ = -1;
}

}  // namespace kolvane
