#include "app/sound/mute_setting.h"

#include <string>

#include "app/data_folders.h"
#include "app/settings_file.h"

namespace kolvane::sound {

void rememberMute(bool muted, std::FILE* errors) {
    const std::filesystem::path folder = configFolder();
    Settings kept = loadSettings(folder, errors);
    if (kept.muted == muted) return;
    kept.muted = muted;
    std::string error;
    if (!saveSettings(folder, kept, error)) {
        std::fprintf(errors, "kolvane: cannot keep the mute setting: %s\n", error.c_str());
    }
}

}  // namespace kolvane::sound
