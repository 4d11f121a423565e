// The key's file: created under a temporary name that no other file has
// (O_EXCL, mode 0600, never through a symbolic link), flushed, then linked to
// its own name only if that name is still free, so that a key once kept is
// never replaced. Windows: the same with CREATE_NEW and a move that does not
// replace; the config folder under %APPDATA% is the user's own.
#include <cerrno>
#include <cstring>
#include <string>

#include "app/network/player_key.h"
#include "app/network/system_random.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolvane {

namespace {

constexpr std::size_t kMaxKeyFileBytes = 256;

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

// The key in a file's bytes: one line, its end optional.
std::optional<PlayerKey> keyIn(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return PlayerKey::fromText(text);
}

enum class Kept { kKept, kTaken, kFailed };

// A name beside file that no other writer picks, not even a dead process
// whose id this one has now.
std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
    unsigned char bytes[4] = {};
    systemRandomBytes(bytes, sizeof bytes);
    std::filesystem::path temporary = file;
    temporary += ".new-";
    for (const unsigned char b : bytes) temporary += std::to_string(b) + "-";
    temporary += "tmp";
    return temporary;
}

#ifdef _WIN32

std::string lastError() {
    return "error " + std::to_string(::GetLastError());
}

// What the file holds; false when it can't be read (missing: error empty).
bool readKeyFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
            error = "cannot read " + quoted(file) + ": error " + std::to_string(code);
        }
        return false;
    }
    char buffer[kMaxKeyFileBytes + 1];
    DWORD n = 0;
    const bool read = ::ReadFile(h, buffer, sizeof buffer, &n, nullptr) != 0;
    ::CloseHandle(h);
    if (!read) {
        error = "cannot read " + quoted(file) + ": " + lastError();
        return false;
    }
    text.assign(buffer, n);
    return true;
}

Kept keepKeyFile(const std::filesystem::path& file, const std::string& line, std::string& error) {
    const std::filesystem::path temporary = temporaryBeside(file);
    HANDLE h = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = "cannot write " + quoted(temporary) + ": " + lastError();
        return Kept::kFailed;
    }
    DWORD written = 0;
    const bool ok =
        ::WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
        written == line.size() && ::FlushFileBuffers(h);
    ::CloseHandle(h);
    if (!ok) {
        error = "cannot write " + quoted(temporary) + ": " + lastError();
        ::DeleteFileW(temporary.c_str());
        return Kept::kFailed;
    }
    if (!::MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) return Kept::kTaken;
        error = "cannot keep " + quoted(file) + ": error " + std::to_string(code);
        return Kept::kFailed;
    }
    return Kept::kKept;
}

#else

bool readKeyFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) error = "cannot read " + quoted(file) + ": " + std::strerror(errno);
        return false;
    }
    struct stat about {};
    if (::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode) || about.st_uid != ::geteuid()) {
        ::close(fd);
        error = quoted(file) + " is not a file of this user";
        return false;
    }
    // Readable by others (copied in by hand, say): made private again.
    if ((about.st_mode & 077) != 0) ::fchmod(fd, 0600);
    char buffer[kMaxKeyFileBytes + 1];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (n < 0) {
        error = "cannot read " + quoted(file) + ": " + std::strerror(errno);
        return false;
    }
    text.assign(buffer, static_cast<std::size_t>(n));
    return true;
}

Kept keepKeyFile(const std::filesystem::path& file, const std::string& line, std::string& error) {
    const std::filesystem::path temporary = temporaryBeside(file);
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot write " + quoted(temporary) + ": " + std::strerror(errno);
        return Kept::kFailed;
    }
    const bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
                    ::fsync(fd) == 0;
    const int writeErrno = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(temporary.c_str());
        error = "cannot write " + quoted(temporary) + ": " + std::strerror(writeErrno);
        return Kept::kFailed;
    }
    // link() never replaces: the first key kept stays.
    const int linked = ::link(temporary.c_str(), file.c_str());
    const int linkErrno = errno;
    ::unlink(temporary.c_str());
    if (linked == 0) return Kept::kKept;
    if (linkErrno == EEXIST) return Kept::kTaken;
    error = "cannot keep " + quoted(file) + ": " + std::strerror(linkErrno);
    return Kept::kFailed;
}

#endif

}  // namespace

std::optional<PlayerKey> loadOrCreatePlayerKey(const std::filesystem::path& file,
                                               std::string& error) {
    error.clear();
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string text;
        if (readKeyFile(file, text, error)) {
            if (auto key = keyIn(text)) return key;
            error = quoted(file) + " does not hold a player key (left as it is)";
            return std::nullopt;
        }
        if (!error.empty()) return std::nullopt;
        // No key yet: make one.
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        auto key = PlayerKey::generate();
        if (!key) {
            error = "the system's random source gave no bytes";
            return std::nullopt;
        }
        switch (keepKeyFile(file, key->bearerCredential() + "\n", error)) {
            case Kept::kKept:
                return key;
            case Kept::kFailed:
                return std::nullopt;
            case Kept::kTaken:
                break;  // another process kept one first: read it
        }
    }
    error = "cannot keep a key in " + quoted(file);
    return std::nullopt;
}

}  // namespace kolvane
