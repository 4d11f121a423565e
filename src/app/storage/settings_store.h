#pragma once
// Where a front end keeps the player's settings between runs: settings.ini
// in the config folder on the desktop (written by the background writer),
// the browser's storage in the page.
#include "app/settings/settings.h"

namespace kolvane {

class SettingsStore {
public:
    // The settings to keep, whole; returns without waiting for a disk.
    virtual void keep(const Settings& settings) = 0;

protected:
    ~SettingsStore() = default;
};

}  // namespace kolvane
