#pragma once
// settings.ini in the config folder: the player's settings between runs.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/settings/settings.h"

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

}  // namespace kolvane
