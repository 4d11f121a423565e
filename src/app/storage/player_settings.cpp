#include "app/storage/player_settings.h"

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
    if (before.server != after.server) kept.server = after.server;
    if (before.name != after.name) kept.name = after.name;
    if (before.submit != after.submit) kept.submit = after.submit;
    if (before.worldScores != after.worldScores) kept.worldScores = after.worldScores;
}

}  // namespace

bool PlayerSettings::change(const Settings& updated) {
    const Settings before = kept_;
    keepChanges(current_, updated, kept_);
    current_ = updated;
    return !(kept_ == before);
}

}  // namespace kolvane
