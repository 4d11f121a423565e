// The player key's file on Windows: CREATE_NEW and a move that does not
// replace; the config folder under %APPDATA% is the user's own.
#include <windows.h>

#include <string>

#include "app/network/player_key_file_io.h"

namespace kolvane::key_file {

namespace {

std::string lastError() {
    return "error " + std::to_string(::GetLastError());
}

}  // namespace

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

}  // namespace kolvane::key_file
