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

}  // namespace

DesktopKeeping::DesktopKeeping(WindowLaunch& launch, std::string_view frontEnd,
                               std::int64_t startedAt)
    : startedAt_(startedAt),
      settings_(runSettings(launch.options)),
      settingsFile_(writer_, configFolder(), stderr),
      store_(writer_, FolderStoreSetup{dataFolder(), stderr}) {
    if (launch.replay) {
        watching_.emplace(std::move(launch.replay->script));
        return;
    }
    const Settings& run = settings_.current();
    kept_.emplace(store_, KeptGamesSetup{run.record, frontEnd, startedAt, processId()});
    playing_.emplace(&*kept_, run.showScores);
}

DesktopKeeping::~DesktopKeeping() {
    writer_.drain();
}

SessionMode& DesktopKeeping::mode() {
    if (watching_) return *watching_;
    return *playing_;
}

}  // namespace kolvane
