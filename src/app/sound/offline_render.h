#pragma once
// A scripted game heard without a device: the script plays through a
// session of its own with the game's sound listening, and after every tick
// the mixer renders that tick's 15 ms (720 samples), so a key's sound starts
// in the samples of the tick that follows it. Used by kolvane-sounds and the
// tests; the same script always gives the same samples.
#include <cstdint>
#include <vector>

#include "app/session/script.h"
#include "app/session/session.h"

namespace kolvane::sound {

struct OfflineSound {
    int volume = 100;
    bool muted = false;
};

// `alsoListening`, when given, hears the same game too.
std::vector<std::int16_t> renderScriptSound(const Script& script, const SessionStart& start,
                                            const OfflineSound& sound,
                                            SessionListener* alsoListening = nullptr);

}  // namespace kolvane::sound
