#include "app/front_end/desktop_keeping.h"

#include <cstdio>
#include <utility>

#include "app/storage/data_folders.h"
#include "app/storage/process_id.h"

namespace kolvane {

namespace {

PlayerSettings runSettings(const WindowOptions& options) {
    const Settings kept = loadSettings(configFolder(), stderr);
    return PlayerSettings(kept, applyOptions(kept, options));
}

std::optional<Script> scriptToWatch(WindowLaunch& launch) {
    if (!launch.replay) return std::nullopt;
    return std::move(launch.replay->script);
}

}  // namespace

DesktopKeeping::DesktopKeeping(WindowLaunch& launch, std::string_view frontEnd,
                               std::int64_t startedAt)
    : startedAt_(startedAt),
      settings_(runSettings(launch.options)),
      settingsFile_(writer_, configFolder(), stderr),
      store_(writer_, FolderStoreSetup{dataFolder(), stderr}),
      world_(makeDesktopWorld(settings_.current(), !launch.replay, stderr)),
      modes_(scriptToWatch(launch), store_,
             KeptGamesSetup{settings_.current().record, frontEnd, startedAt, processId()},
             settings_.current().showScores) {
    if (world_ && modes_.playing() != nullptr) {
        worldPlaying_.emplace(*modes_.playing(), *modes_.kept(), *world_, settings_, settingsFile_);
    }
}

SessionMode& DesktopKeeping::mode() {
    if (worldPlaying_) return *worldPlaying_;
    return modes_.mode();
}

DesktopKeeping::~DesktopKeeping() {
    writer_.drain();
}

}  // namespace kolvane
