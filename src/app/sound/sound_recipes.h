#pragma once
// The recipe of every sound, and how many of each may sound at once. One
// family: square, triangle and saw tones on a C-major palette for the
// rewards, clocked noise through a closing filter for the explosions,
// falling sweeps for the ship's weapons and rising ones for the saucer's.
#include "app/sound/sounds.h"
#include "app/sound/synth.h"

namespace kolvane::sound {

const Recipe& recipeOf(Sound s);

// Voices one sound may hold; a new one beyond that takes over its oldest.
int voiceLimit(Sound s);

}  // namespace kolvane::sound
