#pragma once
// What a desktop window keeps and where, the same for every desktop window:
// the settings from the config folder (settings.ini), the session's recording
// and the high-score table in the data folder, all written by one background
// writer; the world table, when the settings name a server (desktop_world.h:
// its ticket is asked for at once, while the window opens); and the
// session's mode: playing and kept, or watching the recording the launch
// names.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "app/front_end/desktop_world.h"
#include "app/front_end/front_end_core.h"
#include "app/front_end/session_modes.h"
#include "app/front_end/window_program.h"
#include "app/front_end/world_playing.h"
#include "app/storage/background_writer.h"
#include "app/storage/folder_store.h"
#include "app/storage/player_settings.h"
#include "app/storage/settings_file.h"

namespace kolvane {

class DesktopKeeping {
public:
    // frontEnd: "SDL window on Linux"; startedAt: the wall clock's seconds
    // now. A recording to watch is taken out of the launch.
    DesktopKeeping(WindowLaunch& launch, std::string_view frontEnd, std::int64_t startedAt);
    // Every write handed over is done first.
    ~DesktopKeeping();
    DesktopKeeping(const DesktopKeeping&) = delete;
    DesktopKeeping& operator=(const DesktopKeeping&) = delete;

    const Settings& settings() const { return settings_.current(); }
    // Playing with the world table when there is one (world_playing.h).
    SessionMode& mode();
    // What the core is made with.
    FrontEndSetup setup() { return FrontEndSetup{settings_, settingsFile_, startedAt_}; }

private:
    BackgroundWriter writer_;
    std::int64_t startedAt_;
    PlayerSettings settings_;
    SettingsFile settingsFile_;
    FolderStore store_;
    std::unique_ptr<DesktopWorld> world_;  // null: no server set
    SessionModes modes_;
    std::optional<WorldPlaying> worldPlaying_;
};

}  // namespace kolvane
