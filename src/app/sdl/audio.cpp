#include "app/sdl/audio.h"

#include <cstdio>

#include "app/sound/sounds.h"

namespace kolvane::sdl {

Audio::Audio(sound::GameSound& sound) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "kolvane: no sound (%s); playing silently\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = sound::kSampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = kBufferFrames;
    want.callback = &Audio::fill;
    want.userdata = &sound;
    // No changes allowed: SDL converts for a device that wants another format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device_ == 0) {
        std::fprintf(stderr, "kolvane: no sound (%s); playing silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

Audio::~Audio() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SDLCALL Audio::fill(void* sound, Uint8* stream, int bytes) {
    static_cast<sound::GameSound*>(sound)->render(reinterpret_cast<float*>(stream),
                                                  bytes / static_cast<int>(sizeof(float)));
}

}  // namespace kolvane::sdl
