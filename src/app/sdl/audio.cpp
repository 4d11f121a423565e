#include "app/sdl/audio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/sound/sounds.h"

namespace kolvane::sdl {

namespace {

// Standard error sent to /dev/null for a while: the sound libraries under SDL
// (alsa-lib above all) write their own lines there when there is no device,
// and the game says so in one line of its own.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

// 48 kHz mono floats in buffers of kBufferFrames, from the game's mixer.
SDL_AudioSpec specFor(sound::GameSound& sound) {
    SDL_AudioSpec want{};
    want.freq = sound::kSampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = Audio::kBufferFrames;
    want.callback = &Audio::fill;
    want.userdata = &sound;
    return want;
}

// Starts SDL's audio and opens the default device; without one, says so in
// one line and returns 0.
SDL_AudioDeviceID openDevice(const SDL_AudioSpec& want) {
    std::string reason;
    SDL_AudioDeviceID device = 0;
    {
        const QuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            reason = SDL_GetError();
        } else {
            // No changes allowed: SDL converts for a device that wants another format.
            device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
            if (device == 0) {
                reason = SDL_GetError();
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            }
        }
    }
    if (device == 0) {
        std::fprintf(stderr, "kolvane: no sound (%s); playing silently\n", reason.c_str());
    }
    return device;
}

}  // namespace

Audio::Audio(sound::GameSound& sound) : device_(openDevice(specFor(sound))) {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
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
