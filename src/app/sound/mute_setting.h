#pragma once
// The mute state kept in settings.ini when the player toggles it: the file's
// other settings stay as they are (not this run's command-line options).
#include <cstdio>

namespace kolvane::sound {

// Writes muted into the settings file of the config folder; a failure is one
// line on `errors`, and the game goes on.
void rememberMute(bool muted, std::FILE* errors);

}  // namespace kolvane::sound
