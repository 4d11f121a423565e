#pragma once
// The player key's file as each platform reads and keeps it (player_key_file_posix.cpp,
// player_key_file_windows.cpp): read without following a link, and kept
// under a temporary name first, then given its own name only if that is
// still free, so that a key once kept is never replaced.
#include <cstddef>
#include <filesystem>
#include <string>

namespace kolvane::key_file {

inline constexpr std::size_t kMaxKeyFileBytes = 256;

enum class Kept { kKept, kTaken, kFailed };

// What the file holds; false when it can't be read (missing: error empty).
bool readKeyFile(const std::filesystem::path& file, std::string& text, std::string& error);

// Writes line into a new file beside `file` and gives it that name if free.
Kept keepKeyFile(const std::filesystem::path& file, const std::string& line, std::string& error);

std::string quoted(const std::filesystem::path& path);

// A name beside file that no other writer picks, not even a dead process
// whose id this one has now.
std::filesystem::path temporaryBeside(const std::filesystem::path& file);

}  // namespace kolvane::key_file
