#pragma once
// The settings of one run of a window program: those kept in settings.ini
// with the command line's options laid over them. Only what the player
// changes in the game (a key, a menu) is written back; an option given for
// one run never is.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/settings/settings.h"
#include "app/settings/window_options.h"

namespace kolvane {

class PlayerSettings {
public:
    // Reads settings.ini in folder (problems reported on `errors`, never fatal).
    PlayerSettings(std::filesystem::path folder, const WindowOptions& options, std::FILE* errors);

    // This run's settings.
    const Settings& current() const { return current_; }
    // The player changed something: `updated` is the run's settings now. The
    // settings that differ from the run's until now are written to the file
    // as well (outside a tick: writing takes time). A file that can't be
    // written is reported once on `errors`, and the change still holds.
    void change(const Settings& updated);

private:
    std::filesystem::path folder_;
    std::FILE* errors_;
    Settings kept_;     // as in the file
    Settings current_;  // for this run
    bool complained_ = false;
};

}  // namespace kolvane
