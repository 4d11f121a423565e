// The player key's file on Linux and other POSIX systems: O_EXCL, mode 0600,
// never through a symbolic link; link() gives it its name, never replacing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "app/network/player_key_file_io.h"

namespace kolvane::key_file {

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

}  // namespace kolvane::key_file
