#pragma once
// settings.ini in the config folder: the player's settings between runs.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "app/settings/settings.h"
#include "app/storage/background_writer.h"
#include "app/storage/settings_store.h"

namespace kolvane {

inline constexpr const char* kSettingsFileName = "settings.ini";

// The settings kept in `folder`, or the defaults. Each problem goes to
// `errors` on a line of its own; a file that can't be used at all (not text,
// too large, unreadable) is moved aside to settings.ini.bad. Never fails.
Settings loadSettings(const std::filesystem::path& folder, std::FILE* errors);

// Writes settings.ini whole, making the folder if need be; false with the
// reason in error.
bool saveSettings(const std::filesystem::path& folder, const Settings& settings,
                  std::string& error);

// The desktop's settings store: settings.ini written by the background
// writer. A file that can't be written is said once on `errors`; the change
// still holds for the run.
class SettingsFile final : public SettingsStore {
public:
    SettingsFile(BackgroundWriter& writer, std::filesystem::path folder, std::FILE* errors)
        : writer_(writer), folder_(std::move(folder)), errors_(errors) {}
    // The writes handed over are done first.
    ~SettingsFile() { writer_.drain(); }
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;
    void keep(const Settings& settings) override;

private:
    BackgroundWriter& writer_;
    std::filesystem::path folder_;
    std::FILE* errors_;
    bool complained_ = false;  // the writer's
};

}  // namespace kolvane
