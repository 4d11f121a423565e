#include "app/sound/synth.h"

#include <algorithm>
#include <cmath>

#include "app/sound/sounds.h"

namespace kolvane::sound {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Exponentials are worked out in float (powf, expf, exp2f): precise enough for
// sound, and their tables are far smaller in the web build than double's.
constexpr double kRate = kSampleRate;
// A loop's end is cross-faded into its start over this long.
constexpr double kLoopFadeSeconds = 0.05;
// Rests and note starts are smoothed over about this long, so they never click.
constexpr double kGateSeconds = 0.0015;
// Below this the tone's offset is taken out (a square wave with a duty other
// than half has one).
constexpr double kDcCutHz = 20.0;
constexpr int kSlowFrames = 16;

// An exponential glide from one value to another over a number of samples,
// then held: one multiplication a sample.
class Glide {
public:
    Glide(double from, double to, double seconds)
        : value_(from),
          to_(to),
          left_(std::max(1L, static_cast<long>(std::nearbyint(seconds * kRate)))),
          factor_(std::pow(static_cast<float>(to / from), 1.0f / static_cast<float>(left_))) {}
    double next() {
        const double v = value_;
        if (left_ > 0) {
            value_ = --left_ == 0 ? to_ : value_ * factor_;
        }
        return v;
    }

private:
    double value_;
    double to_;
    long left_;
    double factor_;
};

// Softens the jump of a square or saw wave within one sample (polyBLEP), so
// high notes don't fold back into harsh lower ones.
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double oscillator(Wave wave, double phase, double dt, double duty) {
    switch (wave) {
        case Wave::kSquare: {
            double v = phase < duty ? 1.0 : -1.0;
            v += blep(phase, dt);
            double shifted = phase + 1.0 - duty;
            if (shifted >= 1.0) shifted -= 1.0;
            return v - blep(shifted, dt);
        }
        case Wave::kTriangle:
            return 4.0 * std::abs(phase - 0.5) - 1.0;
        case Wave::kSaw:
            return 2.0 * phase - 1.0 - blep(phase, dt);
        case Wave::kSine:
            return std::sin(2.0 * kPi * phase);
        case Wave::kNone:
            break;
    }
    return 0.0;
}

// The synthesizer's own generator (xorshift): the game's is never touched.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483647.5 - 1.0;
    }

private:
    std::uint32_t state_;
};

double envelope(const Recipe& r, double t) {
    const double rise = r.attack > 0 ? std::min(1.0, t / r.attack) : 1.0;
    const double left = r.seconds - t;
    if (r.release <= 0 || left >= r.release) return rise;
    const double u = std::max(0.0, left / r.release);
    return rise * u * u;
}

// The arpeggio's pitch factor and note level at time t.
void arpeggio(const Recipe& r, double t, double& pitch, double& level) {
    pitch = 1.0;
    level = 1.0;
    if (r.stepCount <= 0 || r.stepSeconds <= 0) return;
    const int step = std::min(r.stepCount - 1, static_cast<int>(t / r.stepSeconds));
    pitch = r.steps[step];
    if (pitch <= 0) {
        level = 0.0;
        return;
    }
    const double within = std::min(1.0, (t - step * r.stepSeconds) / r.stepSeconds);
    level = 1.0 - (1.0 - r.noteSustain) * within;
}

void normalise(float* out, int frames, float peak) {
    float loudest = 0.0f;
    for (int i = 0; i < frames; ++i) loudest = std::max(loudest, std::abs(out[i]));
    if (loudest <= 0.0f) return;
    const float scale = peak / loudest;
    for (int i = 0; i < frames; ++i) out[i] *= scale;
}

// The extra samples past the loop's end fade out over its start while the
// start fades in, so the last sample runs on into the first.
void foldLoop(float* out, int frames, int fade) {
    for (int i = 0; i < fade; ++i) {
        const float in = static_cast<float>(i) / static_cast<float>(fade);
        out[i] = out[i] * in + out[frames + i] * (1.0f - in);
    }
}

}  // namespace

int playFrames(const Recipe& recipe) {
    return static_cast<int>(std::nearbyint(recipe.seconds * kRate));
}

int renderedFrames(const Recipe& recipe) {
    return playFrames(recipe) + (recipe.loop ? static_cast<int>(kLoopFadeSeconds * kRate) : 0);
}

void synthesize(const Recipe& r, std::uint32_t seed, float* out) {
    const int frames = renderedFrames(r);
    const double gateStep = 1.0 / (kGateSeconds * kRate);
    const double dcPole = std::exp(static_cast<float>(-2.0 * kPi * kDcCutHz / kRate));
    Glide pitchGlide(r.startHz, r.endHz, r.sweepSeconds > 0 ? r.sweepSeconds : r.seconds);
    Glide noiseGlide(r.noiseStartHz, r.noiseEndHz, r.seconds);
    const bool filtered = r.lowpassStartHz > 0;
    Glide cutoffGlide(filtered ? r.lowpassStartHz : 1.0, filtered ? r.lowpassEndHz : 1.0,
                      r.seconds);
    Noise noise(seed);
    double phase = 0.0;
    double noisePhase = 1.0;  // draws a value at once
    double noiseValue = 0.0;
    double gate = 0.0;
    double dcIn = 0.0;
    double dcOut = 0.0;
    double low1 = 0.0;
    double low2 = 0.0;
    // Slow changes (vibrato, tremolo, the filter's cutoff) are worked out
    // once every kSlowFrames samples.
    double vibrato = 1.0;
    double tremolo = 1.0;
    double lowpass = 1.0;

    for (int i = 0; i < frames; ++i) {
        const double t = i / kRate;
        // A loop keeps going past its end with the values it has there.
        const double tc = std::min(t, static_cast<double>(r.seconds));
        if (i % kSlowFrames == 0) {
            if (r.vibratoHz > 0) {
                vibrato = std::exp2(static_cast<float>(r.vibratoSemitones / 12.0 *
                                                       std::sin(2.0 * kPi * r.vibratoHz * t)));
            }
            if (r.tremoloHz > 0) {
                tremolo =
                    1.0 - r.tremoloDepth * 0.5 * (1.0 - std::cos(2.0 * kPi * r.tremoloHz * t));
            }
            if (filtered) {
                const double cutoff = std::min(cutoffGlide.next(), kRate / 4);
                lowpass = 1.0 - std::exp(static_cast<float>(-2.0 * kPi * cutoff / kRate));
                for (int k = 1; k < kSlowFrames; ++k) cutoffGlide.next();
            }
        }

        double pitch = 1.0;
        double noteLevel = 1.0;
        arpeggio(r, tc, pitch, noteLevel);
        const double hz = pitchGlide.next() * pitch * vibrato;
        const double dt = std::min(0.5, hz / kRate);
        double tone = r.tone * oscillator(r.wave, phase, dt, r.duty);
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        // The tone without its offset.
        dcOut = tone - dcIn + dcPole * dcOut;
        dcIn = tone;
        tone = dcOut;

        double n = 0.0;
        const double noiseHz = noiseGlide.next();
        if (r.noise > 0) {
            noisePhase += noiseHz / kRate;
            if (noisePhase >= 1.0) {
                noisePhase -= std::floor(noisePhase);
                noiseValue = noise.next();
            }
            n = r.noise * noiseValue;
        }

        // Notes and rests change level through a short ramp.
        gate += std::clamp(noteLevel - gate, -gateStep, gateStep);
        double v = (tone + n) * gate;
        if (filtered) {
            low1 += lowpass * (v - low1);
            low2 += lowpass * (low1 - low2);
            v = low2;
        }
        v *= tremolo;
        out[i] = static_cast<float>(r.loop ? v : v * envelope(r, t));
    }
    if (r.loop) foldLoop(out, playFrames(r), frames - playFrames(r));
    normalise(out, frames, r.peak);
}

}  // namespace kolvane::sound
