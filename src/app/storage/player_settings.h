#pragma once
// The settings of one run of a front end: those kept between runs with the
// command line's options laid over them. Only what the player changes in the
// game (a key, a menu) is kept for the next run; an option given for one run
// never is.
#include "app/settings/settings.h"

namespace kolvane {

class PlayerSettings {
public:
    // kept: as kept between runs; run: this run's (kept with the options).
    PlayerSettings(const Settings& kept, const Settings& run) : kept_(kept), current_(run) {}

    // This run's settings.
    const Settings& current() const { return current_; }
    // The settings to keep for the next run.
    const Settings& kept() const { return kept_; }
    // The player changed something: `updated` is the run's settings now.
    // Each setting that differs from the run's until now is to be kept as
    // well; returns true when the settings to keep changed.
    bool change(const Settings& updated);

private:
    Settings kept_;
    Settings current_;
};

}  // namespace kolvane
