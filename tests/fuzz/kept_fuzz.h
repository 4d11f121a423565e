#pragma once
// Fuzz inputs for the readers of kept files: arbitrary bytes given to the
// recording reader (whatever it accepts replayed as verification does, for a
// bounded number of ticks) and to the high-score table's reader (whatever it
// accepts written and read back unchanged). Shared by the libFuzzer targets
// and the regression test.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kolvane::fuzz {

// False with problem set when the reader misbehaved.
bool readRecordingInput(const std::uint8_t* data, std::size_t size, std::string& problem);
bool readScoreTableInput(const std::uint8_t* data, std::size_t size, std::string& problem);

}  // namespace kolvane::fuzz
