#pragma once
// The wording of a PNG file's failure, the same as a failed atomic write's
// (core/atomic_file.h) with what was being done in front.
#include <string>

namespace kolvane::gfx {

// WHAT "PATH": REASON, e.g. cannot write "frame.png": No such file or directory.
inline std::string describePngFailure(const char* what, const std::string& path,
                                      const std::string& reason) {
    return std::string(what) + " \"" + path + "\": " + reason;
}

}  // namespace kolvane::gfx
