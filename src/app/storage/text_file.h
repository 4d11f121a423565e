#pragma once
// Files the window programs keep between runs (the settings, the high-score
// table, recordings): read defensively, so that any bytes are either taken or
// refused with a reason, and moved aside when they can't be used, so that the
// game always starts. They are written whole with writeFileAtomically.
#include <cstddef>
#include <filesystem>
#include <string>

namespace kolvane {

enum class ReadOutcome { kRead, kMissing, kRefused };

// Reads a whole text file of at most maxBytes whose lines are at most
// maxLine bytes (see textLineProblem). kMissing when there is no such file;
// kRefused with the reason in error when it can't be read, is larger, or is
// not text.
ReadOutcome readTextFile(const std::filesystem::path& path, std::size_t maxBytes,
                         std::size_t maxLine, std::string& text, std::string& error);

// Renames the file to the same name with ".bad" added, replacing an older
// one; false with the reason in error when it can't.
bool moveAside(const std::filesystem::path& path, std::string& error);

}  // namespace kolvane
