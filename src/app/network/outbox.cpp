#include "app/network/outbox.h"

#include <algorithm>

#include "app/network/api_fields.h"
#include "app/replay/recording.h"
#include "app/scores/score_table.h"
#include "app/storage/text_file.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace {

bool isQueuedName(const std::string& name) {
    return name.size() > kRecordingExtension.size() && name.ends_with(kRecordingExtension) &&
           name != kNoRecording && isSafeRecordingName(name);
}

}  // namespace

bool Outbox::add(std::string_view name, std::string_view recording, std::string& error) const {
    if (!isQueuedName(std::string(name))) {
        error = "\"" + std::string(name) + "\" is not a recording's name";
        return false;
    }
    if (folder_.empty()) {
        error = "no data folder to keep the recording in";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec) {
        error = "cannot make \"" + folder_.string() + "\": " + ec.message();
        return false;
    }
    return writeFileAtomically((folder_ / name).string(), recording, error);
}

std::vector<std::string> Outbox::waiting() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder_, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        // Temporary files of a write in progress end otherwise.
        if (isQueuedName(name) && it->is_regular_file(ec)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Outbox::read(const std::string& name, std::string& recording, std::string& error) const {
    // The server judges the lines; here only the size and that it is text.
    const ReadOutcome outcome = readTextFile(folder_ / name, api::kMaxRecordingBytes,
                                             api::kMaxRecordingBytes, recording, error);
    if (outcome == ReadOutcome::kMissing) error = "\"" + name + "\" is no longer in the outbox";
    return outcome == ReadOutcome::kRead;
}

void Outbox::remove(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(folder_ / name, ec);
}

void Outbox::setAside(const std::string& name, std::string_view reason) const {
    const std::filesystem::path refused = folder_ / kRefusedFolderName;
    std::error_code ec;
    std::filesystem::create_directories(refused, ec);
    std::string ignored;
    writeFileAtomically((refused / (name + ".reason")).string(), std::string(reason) + "\n",
                        ignored);
    std::filesystem::rename(folder_ / name, refused / name, ec);
    // A folder that can't take it: the copy goes, so it is not sent again and again.
    if (ec) remove(name);
}

}  // namespace kolvane
