#include "app/storage/player_settings.h"

#include <utility>

#include "app/storage/settings_file.h"

namespace kolvane {

namespace {

// Copies each setting that differs between `before` and `after` into `kept`.
void keepChanges(const Settings& before, const Settings& after, Settings& kept) {
    if (before.scaleMode != after.scaleMode) kept.scaleMode = after.scaleMode;
    if (before.fullscreen != after.fullscreen) kept.fullscreen = after.fullscreen;
    if (before.record != after.record) kept.record = after.record;
    if (before.showScores != after.showScores) kept.showScores = after.showScores;
    if (before.volume != after.volume) kept.volume = after.volume;
    if (before.muted != after.muted) kept.muted = after.muted;
}

}  // namespace

PlayerSettings::PlayerSettings(std::filesystem::path folder, const WindowOptions& options,
                               std::FILE* errors)
    : folder_(std::move(folder)),
      errors_(errors),
      kept_(loadSettings(folder_, errors)),
      current_(applyOptions(kept_, options)) {}

void PlayerSettings::change(const Settings& updated) {
    const Settings kept = kept_;
    keepChanges(current_, updated, kept_);
    current_ = updated;
    if (kept_ == kept) return;
    std::string error;
    if (!saveSettings(folder_, kept_, error) && !complained_) {
        complained_ = true;
        std::fprintf(errors_, "kolvane: cannot keep the settings: %s\n", error.c_str());
    }
}

}  // namespace kolvane
