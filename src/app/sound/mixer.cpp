#include "app/sound/mixer.h"

#include <algorithm>
#include <cmath>

#include "app/sound/sound_recipes.h"

namespace kolvane::sound {

namespace {

// A command is a sound's number, or this bit with the loops that should play.
constexpr std::uint8_t kLoopsCommand = 0x80;
constexpr int kThrustBit = 1;
constexpr int kHumBit = 2;

// Steps per sample of the glides (20 ms for the loops, 10 ms for the volume)
// and the fall of a cut voice's level (to 1/e in 2 ms).
constexpr float kLoopStep = 1.0f / (0.020f * kSampleRate);
constexpr float kGainStep = 1.0f / (0.010f * kSampleRate);
const float kDeclickFall = std::exp(-1.0f / (0.002f * kSampleRate));

// Full level up to the knee; above it the level bends toward 1, never past it.
constexpr float kKnee = 0.7f;
float limit(float x) {
    const float a = std::abs(x);
    if (a <= kKnee) return x;
    const float over = (a - kKnee) / (1.0f - kKnee);
    const float bent = kKnee + (1.0f - kKnee) * over / (1.0f + over);
    return x < 0 ? -bent : bent;
}

float gainOf(int volume) {
    const float v =
        static_cast<float>(std::clamp(volume, 0, Mixer::kMaxVolume)) / Mixer::kMaxVolume;
    return v * v;
}

}  // namespace

Mixer::Mixer(const SoundBank& bank, int volume, bool muted)
    : bank_(bank), volumeGain_(gainOf(volume)), muted_(muted) {
    loops_[0].samples = bank.samples(Sound::kThrustLoop);
    loops_[1].samples = bank.samples(Sound::kSaucerHum);
    gain_ = muted ? 0.0f : gainOf(volume);
}

void Mixer::play(Sound s) {
    if (!isLoop(s)) commands_.push(static_cast<std::uint8_t>(index(s)));
}

void Mixer::setLoops(bool thrust, bool saucerHum) {
    wantedLoops_ = (thrust ? kThrustBit : 0) | (saucerHum ? kHumBit : 0);
    // A refused change is sent again with the next call.
    if (wantedLoops_ != sentLoops_ &&
        commands_.push(static_cast<std::uint8_t>(kLoopsCommand | wantedLoops_))) {
        sentLoops_ = wantedLoops_;
    }
}

void Mixer::setVolume(int volume) {
    volumeGain_.store(gainOf(volume), std::memory_order_relaxed);
}

void Mixer::takeCommands() {
    std::uint8_t command = 0;
    while (commands_.pop(command)) {
        if ((command & kLoopsCommand) != 0) {
            loops_[0].on = (command & kThrustBit) != 0;
            loops_[1].on = (command & kHumBit) != 0;
        } else if (command < kSoundCount) {
            start(static_cast<Sound>(command));
        }
    }
}

void Mixer::start(Sound s) {
    int own = 0;
    int oldestOwn = -1;
    int oldest = -1;
    int free = -1;
    for (int i = 0; i < kVoices; ++i) {
        const Voice& v = voices_[i];
        if (!v.active) {
            if (free < 0) free = i;
            continue;
        }
        if (oldest < 0 || v.serial < voices_[oldest].serial) oldest = i;
        if (v.sound == s) {
            ++own;
            if (oldestOwn < 0 || v.serial < voices_[oldestOwn].serial) oldestOwn = i;
        }
    }
    const int slot = own >= voiceLimit(s) ? oldestOwn : (free >= 0 ? free : oldest);
    Voice& v = voices_[slot];
    // The level it would have played next fades out instead of vanishing.
    if (v.active) declick_ += v.data[v.position];
    const std::span<const float> samples = bank_.samples(s);
    v = Voice{samples.data(), static_cast<std::uint32_t>(samples.size()), 0, ++serial_, s, true};
}

void Mixer::mixVoice(Voice& v, float* out, int frames) {
    const std::uint32_t n =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(frames), v.frames - v.position);
    const float* in = v.data + v.position;
    for (std::uint32_t i = 0; i < n; ++i) out[i] += in[i];
    v.position += n;
    if (v.position == v.frames) v.active = false;
}

void Mixer::mixLoop(Loop& loop, float* out, int frames) {
    if (loop.gain == 0.0f && !loop.on) return;
    const float target = loop.on ? 1.0f : 0.0f;
    const std::size_t size = loop.samples.size();
    for (int i = 0; i < frames; ++i) {
        loop.gain += std::clamp(target - loop.gain, -kLoopStep, kLoopStep);
        out[i] += loop.samples[loop.position] * loop.gain;
        if (++loop.position == size) loop.position = 0;
    }
}

// The cut voices' fading levels, the volume and the limiter.
void Mixer::finish(float* out, int frames) {
    const float target =
        muted_.load(std::memory_order_relaxed) ? 0.0f : volumeGain_.load(std::memory_order_relaxed);
    for (int i = 0; i < frames; ++i) {
        gain_ += std::clamp(target - gain_, -kGainStep, kGainStep);
        out[i] = limit((out[i] + declick_) * gain_);
        declick_ *= kDeclickFall;
    }
    if (std::abs(declick_) < 1e-6f) declick_ = 0.0f;
}

void Mixer::render(float* out, int frames) {
    takeCommands();
    std::fill(out, out + frames, 0.0f);
    for (Voice& v : voices_) {
        if (v.active) mixVoice(v, out, frames);
    }
    for (Loop& loop : loops_) mixLoop(loop, out, frames);
    finish(out, frames);
}

void Mixer::render(std::int16_t* out, int frames) {
    const int chunk = static_cast<int>(scratch_.size());
    for (int done = 0; done < frames; done += chunk) {
        const int n = std::min(chunk, frames - done);
        render(scratch_.data(), n);
        for (int i = 0; i < n; ++i) {
            // The limiter keeps every sample within -1..1.
            out[done + i] = static_cast<std::int16_t>(std::nearbyint(scratch_[i] * 32767.0f));
        }
    }
}

}  // namespace kolvane::sound
