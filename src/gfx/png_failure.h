#pragma once
// The wording of a PNG file's failure, shared by both PNG back ends.
#include <string>

namespace kolvane::gfx {

// "WHAT 'PATH': REASON", e.g. "cannot write 'frame.png': No such file or directory".
inline std::string describePngFailure(const char* what, const std::string& path,
                                      const std::string& reason) {
    return std::string(what) + " '" + path + "': " + reason;
}

}  // namespace kolvane::gfx
