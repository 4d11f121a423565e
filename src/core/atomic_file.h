#pragma once
// Files that appear whole or not at all. The bytes go to a temporary file
// beside the target, under a name no other writer uses (two processes may
// write the same target at once), are flushed to the disk, and the temporary
// is renamed over the target. On any failure the temporary is deleted and the
// target is left as it was.
//
// Errors read `"PATH": REASON`; the caller puts what it was doing in front
// ("cannot write trace " + error).
#include <cstdio>
#include <string>
#include <string_view>

namespace kolvane {

// Makes bytes the whole content of the file at path.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// The same for a file written piece by piece.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() { abandon(); }

    // Creates the temporary file beside path (abandoning any file still open).
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    // Buffers bytes; false once a write has failed (commit then says why).
    bool write(std::string_view bytes);
    // Flushes everything to the disk and renames the temporary over the target.
    bool commit(std::string& error);
    // Closes and deletes the temporary, if any; the target is untouched.
    void abandon();

private:
    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    int writeErrno_ = 0;  // of the first failed write
};

}  // namespace kolvane
