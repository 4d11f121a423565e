#pragma once
// The replay trace: one JSON object a line with the whole state of the world
// after each paint. The target file appears whole or not at all: lines go to a
// temporary file beside it, which is renamed over it when the run ends.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/atomic_file.h"

namespace kolvane {
struct GameWorld;
}

namespace kolvane::sim {

// Appends one trace line (without its newline) to out. Every number is
// formatted with std::to_chars into out's own storage, so a reused string
// stops allocating once it has grown to the longest line.
void formatTraceLine(std::string& out, std::int64_t tick, const GameWorld& world);

class TraceWriter {
public:
    TraceWriter() = default;
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;
    ~TraceWriter() { abandon(); }

    // "-" writes to `stdout`; any other path gets a temporary file beside it.
    bool open(const std::string& path, std::FILE* stdoutStream, std::string& error);
    bool isOpen() const { return stdout_ != nullptr || file_.isOpen(); }
    // Formats and buffers one line; false once a write has failed.
    bool write(std::int64_t tick, const GameWorld& world);
    // Flushes and closes, then moves the temporary file over the target.
    bool commit(std::string& error);
    // Closes and deletes the temporary file, if any; the target is untouched.
    void abandon();

private:
    AtomicFile file_;
    std::FILE* stdout_ = nullptr;  // when writing to standard output instead
    bool stdoutFailed_ = false;
    std::string line_;
};

}  // namespace kolvane::sim
