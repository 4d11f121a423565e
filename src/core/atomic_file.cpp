#include "core/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolvane {

namespace {

std::string describe(const std::string& path, const std::string& reason) {
    return '"' + path + "\": " + reason;
}

// The errno of the call that just failed (some C libraries leave it at 0).
int lastErrno() {
    return errno != 0 ? errno : EIO;
}

// mkstemp makes the file private to its owner; give it the mode a plain new
// file gets.
void makeOrdinary([[maybe_unused]] int fd) {
#ifndef _WIN32
#ifdef __EMSCRIPTEN__
    // emscripten's C library starts with a umask of 0777, which would leave no
    // permission at all; its files are made with 0666 & ~022.
    const mode_t mask = 022;
#else
    const mode_t mask = ::umask(0);
    ::umask(mask);
#endif
    ::fchmod(fd, 0666 & ~mask);
#endif
}

// Returns once the bytes are on the disk, not only in the system's cache.
bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return ::_commit(::_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

#ifdef _WIN32
std::string windowsMessage(DWORD code) {
    char text[256] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && std::strchr(" .\r\n", message.back()) != nullptr) message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(code) : message;
}
#endif

// Renames from over to, replacing to if it exists.
bool replaceFile(const std::string& from, const std::string& to, std::string& reason) {
#ifdef _WIN32
    // The C library's rename refuses to replace an existing file on Windows.
    if (::MoveFileExA(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return true;
    }
    reason = windowsMessage(::GetLastError());
#else
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    reason = std::strerror(lastErrno());
#endif
    return false;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    AtomicFile file;
    if (!file.open(path, error)) return false;
    file.write(bytes);
    return file.commit(error);
}

bool AtomicFile::open(const std::string& path, std::string& error) {
    abandon();
    path_ = path;
    writeErrno_ = 0;
    temporary_ = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temporary_.data());
    if (fd < 0) {
        error = describe(path, std::strerror(lastErrno()));
        temporary_.clear();
        return false;
    }
    makeOrdinary(fd);
    // Binary: the same bytes on every system (no CR before each newline on Windows).
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        error = describe(path, std::strerror(lastErrno()));
        ::close(fd);
        abandon();
        return false;
    }
    constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
    std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (file_ == nullptr || writeErrno_ != 0) return false;
    if (bytes.empty()) return true;  // an empty view's data() may be null, which fwrite can't take
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        writeErrno_ = lastErrno();
    }
    return writeErrno_ == 0;
}

bool AtomicFile::commit(std::string& error) {
    if (file_ == nullptr) {
        error = describe(path_, "the file is not open");
        return false;
    }
    int failure = writeErrno_;
    if (failure == 0 && (std::fflush(file_) != 0 || !syncToDisk(file_))) failure = lastErrno();
    if (std::fclose(file_) != 0 && failure == 0) failure = lastErrno();
    file_ = nullptr;

    std::string reason;
    if (failure != 0) {
        reason = std::strerror(failure);
    } else if (replaceFile(temporary_, path_, reason)) {
        temporary_.clear();
        return true;
    }
    error = describe(path_, reason);
    abandon();
    return false;
}

void AtomicFile::abandon() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace kolvane
