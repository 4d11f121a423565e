#pragma once
// A small sound generator of the kind arcade machines had: one oscillator
// with a pitch sweep, vibrato and an arpeggio, a clocked noise source, a
// sweeping low-pass filter, tremolo and an envelope. A recipe is a handful of
// these numbers; synthesize() turns it into samples at 48 kHz.
#include <array>
#include <cstdint>

namespace kolvane::sound {

enum class Wave : std::uint8_t { kNone, kSquare, kTriangle, kSaw, kSine };

struct Recipe {
    float seconds = 0.1f;  // the whole sound (a loop: one turn of it)

    // The tone: its level, shape and pitch. The pitch sweeps exponentially
    // from startHz to endHz over sweepSeconds (0: the whole sound), then stays.
    float tone = 1.0f;
    Wave wave = Wave::kSquare;
    float duty = 0.5f;  // of a square wave
    float startHz = 440.0f;
    float endHz = 440.0f;
    float sweepSeconds = 0.0f;
    float vibratoHz = 0.0f;
    float vibratoSemitones = 0.0f;

    // An arpeggio: the pitch times steps[0], steps[1], ... for stepSeconds
    // each, the last one held; a 0 step is a rest. Each note fades to
    // noteSustain of its level by the end of its step.
    std::array<float, 8> steps{};
    int stepCount = 0;
    float stepSeconds = 0.0f;
    float noteSustain = 1.0f;

    // Noise: a random level held for one period of a clock that sweeps from
    // noiseStartHz to noiseEndHz (a lower clock sounds rougher, lower).
    float noise = 0.0f;
    float noiseStartHz = 48000.0f;
    float noiseEndHz = 48000.0f;

    // A two-pole low-pass over tone and noise, its cutoff sweeping
    // exponentially over the sound; 0: no filter.
    float lowpassStartHz = 0.0f;
    float lowpassEndHz = 0.0f;

    // Loudness wobble: depth 0..1 at tremoloHz.
    float tremoloHz = 0.0f;
    float tremoloDepth = 0.0f;

    // The envelope: a linear rise over attack, full level, then a fall that
    // reaches zero exactly at the end over the last `release` seconds.
    float attack = 0.002f;
    float release = 0.05f;

    float peak = 0.3f;  // the loudest sample, after normalising
    bool loop = false;  // seamless: its end runs into its start
};

// Samples a sound plays for, and samples synthesize() writes (a loop needs a
// little more, which it folds into its start).
int playFrames(const Recipe& recipe);
int renderedFrames(const Recipe& recipe);

// Writes renderedFrames(recipe) samples. `seed` starts the noise, so the
// same recipe and seed always give the same samples.
void synthesize(const Recipe& recipe, std::uint32_t seed, float* out);

}  // namespace kolvane::sound
