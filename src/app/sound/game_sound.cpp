#include "app/sound/game_sound.h"

namespace kolvane::sound {

GameSound::GameSound(int volume, bool muted) : mixer_(bank_, volume, muted), detector_(*this) {}

void GameSound::cue(const SoundCues& cues) {
    for (int i = 0; i < kSoundCount; ++i) {
        const auto s = static_cast<Sound>(i);
        if (cues.starts.has(s)) mixer_.play(s);
    }
    mixer_.setLoops(cues.thrusting, cues.saucerHum);
}

}  // namespace kolvane::sound
