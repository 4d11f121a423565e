#include "app/storage/recording_file.h"

#include "app/storage/text_file.h"

namespace kolvane {

RecordingRead readRecordingFile(const std::filesystem::path& path, Recording& recording,
                                std::string& error) {
    recording = Recording{};
    std::string text;
    switch (readTextFile(path, kReplayLimits.maxBytes, kMaxLineLength, text, error)) {
        case ReadOutcome::kMissing:
            error = "cannot read \"" + path.string() + "\": no such file";
            return RecordingRead::kUnreadable;
        case ReadOutcome::kRefused:
            return RecordingRead::kUnreadable;
        case ReadOutcome::kRead:
            break;
    }
    return readRecording(text, path.string(), kReplayLimits, recording, error)
               ? RecordingRead::kRead
               : RecordingRead::kMalformed;
}

}  // namespace kolvane
