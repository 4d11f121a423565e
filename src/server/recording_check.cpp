#include "server/recording_check.h"

namespace kolvane::server {

bool readSubmission(std::string_view text, Recording& recording, std::string& error) {
    return readRecording(text, kRecordingName, kServerLimits, recording, error);
}

VerifyReport verifySubmission(std::string_view text, const std::atomic<bool>* cancel) {
    return verifyRecording(text, kRecordingName, kServerLimits, cancel);
}

}  // namespace kolvane::server
