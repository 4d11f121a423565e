#include "app/storage/player_settings.h"

namespace kolvane {

bool PlayerSettings::change(const Settings& updated) {
    const Settings before = kept_;
    keepChangedSettings(current_, updated, kept_);
    current_ = updated;
    return !(kept_ == before);
}

}  // namespace kolvane
