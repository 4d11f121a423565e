#pragma once
// The game's sound as a front end uses it: the synthesized sounds, the event
// detector listening to the session and the mixer it feeds. A front end adds
// listener() to its session, calls render() from its audio output, and
// toggles mute on the M key (which still reaches the game).
#include <cstdint>

#include "app/session/session.h"
#include "app/sound/event_detector.h"
#include "app/sound/mixer.h"
#include "app/sound/sound_bank.h"
#include "core/keys.h"

namespace kolvane::sound {

// M: the mute key of every front end.
inline constexpr int kMuteKey = 0x4D;
inline bool togglesMute(KeyEvent key) {
    return key.key == kMuteKey && !key.repeat;
}

class GameSound final : public SoundCueSink {
public:
    GameSound(int volume, bool muted);
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    SessionListener& listener() { return detector_; }

    // The game's thread.
    void cue(const SoundCues& cues) override;
    bool muted() const { return mixer_.muted(); }
    void setMuted(bool muted) { mixer_.setMuted(muted); }
    void setVolume(int volume) { mixer_.setVolume(volume); }

    // The audio thread.
    void render(float* out, int frames) { mixer_.render(out, frames); }
    void render(std::int16_t* out, int frames) { mixer_.render(out, frames); }

private:
    SoundBank bank_;
    Mixer mixer_;
    EventDetector detector_;
};

}  // namespace kolvane::sound
