#pragma once
// The game's sound through SDL's audio device: 48 kHz, mono, 32-bit float,
// buffers of 512 samples (10.7 ms). Without a device (none, a server, a
// broken driver) the game plays silently after one line on standard error.
#include <SDL.h>

#include "app/sound/game_sound.h"

namespace kolvane::sdl {

class Audio {
public:
    static constexpr int kBufferFrames = 512;

    // Opens the default device and starts it; `sound` must outlive it.
    explicit Audio(sound::GameSound& sound);
    ~Audio();
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // SDL's audio callback: the mixer fills the device's buffer.
    static void SDLCALL fill(void* sound, Uint8* stream, int bytes);

private:
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace kolvane::sdl
