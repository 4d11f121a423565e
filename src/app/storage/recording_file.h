#pragma once
// A recording read from a file, for watching it: any bytes are either a
// recording or refused with one line that says why.
#include <filesystem>
#include <string>

#include "app/replay/recording.h"

namespace kolvane {

enum class RecordingRead { kRead, kUnreadable, kMalformed };

// kUnreadable: missing, not a file, unreadable, too large or not text;
// kMalformed: text, but not a script ("NAME:LINE: what is wrong"). The
// recording is left empty unless kRead.
RecordingRead readRecordingFile(const std::filesystem::path& path, Recording& recording,
                                std::string& error);

}  // namespace kolvane
