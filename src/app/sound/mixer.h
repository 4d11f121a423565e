#pragma once
// Mixes the sounds the game asks for into a caller's buffer: SDL's audio
// callback, a Web Audio node and waveOut's buffers all call render().
//
// The game's thread calls play(), setLoops(), setVolume() and setMuted(); the
// audio thread calls render(). Between them are a lock-free command queue and
// two atomics, so neither side waits, locks or allocates. The mixer has 16
// voices for one-shot sounds, each sound at most voiceLimit() of them: a new
// one takes over the oldest voice of its own sound when it has its share, a
// free voice otherwise, and the oldest of all when none is free. The two
// loops have a voice each and fade in and out over 20 ms. A voice cut short
// leaves its level to fade over 2 ms, and volume and mute changes glide over
// 10 ms, so nothing clicks; a soft limiter keeps a crowded mix below full scale.
#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "app/sound/command_queue.h"
#include "app/sound/sound_bank.h"
#include "app/sound/sounds.h"

namespace kolvane::sound {

class Mixer {
public:
    static constexpr int kVoices = 16;
    static constexpr int kMaxVolume = 100;

    explicit Mixer(const SoundBank& bank, int volume = kMaxVolume, bool muted = false);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // The game's side.
    void play(Sound s);
    void setLoops(bool thrust, bool saucerHum);
    void setVolume(int volume);  // 0 to kMaxVolume; the gain is (volume / 100)^2
    void setMuted(bool muted) { muted_.store(muted, std::memory_order_relaxed); }
    bool muted() const { return muted_.load(std::memory_order_relaxed); }

    // The audio side: `frames` mono samples at 48 kHz, in -1..1 or as 16-bit.
    void render(float* out, int frames);
    void render(std::int16_t* out, int frames);

private:
    struct Voice {
        const float* data = nullptr;
        std::uint32_t frames = 0;
        std::uint32_t position = 0;
        std::uint64_t serial = 0;  // larger is newer
        Sound sound = Sound::kShot;
        bool active = false;
    };
    struct Loop {
        std::span<const float> samples;
        std::size_t position = 0;
        float gain = 0.0f;
        bool on = false;
    };

    void takeCommands();
    void start(Sound s);
    void mixVoice(Voice& v, float* out, int frames);
    void mixLoop(Loop& loop, float* out, int frames);
    void finish(float* out, int frames);

    const SoundBank& bank_;
    CommandQueue<256> commands_;
    std::atomic<float> volumeGain_;
    std::atomic<bool> muted_;

    // The game's side only.
    int sentLoops_ = 0;
    int wantedLoops_ = 0;

    // The audio side only.
    std::array<Voice, kVoices> voices_{};
    std::array<Loop, 2> loops_{};
    std::uint64_t serial_ = 0;
    float gain_ = 0.0f;
    float declick_ = 0.0f;
    std::array<float, 256> scratch_{};
};

}  // namespace kolvane::sound
