// To tune a sound, change its recipe and listen to `make sounds` (build/sounds). Loudness tiers,
// by the loudest sample: explosions 0.42-0.65, weapons 0.24-0.40, tunes
// 0.26-0.36, the engine and the hum 0.12-0.20 (they run for long).
#include "app/sound/sound_recipes.h"

#include <array>

namespace kolvane::sound {

namespace {

// Notes of the tunes, in Hz.
constexpr float kG4 = 392.00f;
constexpr float kA4 = 440.00f;
constexpr float kC5 = 523.25f;
constexpr float kE5 = 659.26f;
constexpr float kG5 = 783.99f;
constexpr float kA6 = 1760.00f;
// Steps above a base note, as pitch factors (equal temperament).
constexpr float kThird = 1.2599f;   // 4 semitones
constexpr float kFourth = 1.3348f;  // 5
constexpr float kFifth = 1.4983f;   // 7
constexpr float kSixth = 1.6818f;   // 9
constexpr float kOctave = 2.0f;

struct Entry {
    Sound sound = Sound::kShot;
    const char* name = "";
    int voices = 1;
    Recipe recipe;
};

// In the order of Sound.
// clang-format off
constexpr std::array<Entry, kSoundCount> kEntries{{
    // A short falling zap.
    {Sound::kShot, "shot", 3,
     {.seconds = 0.11f, .duty = 0.25f, .startHz = 1500, .endHz = 300, .sweepSeconds = 0.09f,
      .attack = 0.001f, .release = 0.09f, .peak = 0.28f}},
    // The zap fanned out: five quick steps up and down over a falling saw.
    {Sound::kSpreadfire, "spreadfire", 2,
     {.seconds = 0.18f, .wave = Wave::kSaw, .startHz = 1100, .endHz = 260, .sweepSeconds = 0.16f,
      .steps = {1, kThird, kFifth, kThird, 1}, .stepCount = 5, .stepSeconds = 0.025f,
      .noise = 0.15f, .lowpassStartHz = 6000, .lowpassEndHz = 1500, .attack = 0.001f,
      .release = 0.14f, .peak = 0.32f}},
    // A rising whoosh.
    {Sound::kMissile, "missile", 2,
     {.seconds = 0.34f, .tone = 0.7f, .wave = Wave::kSaw, .startHz = 140, .endHz = 620,
      .sweepSeconds = 0.3f, .noise = 0.6f, .noiseStartHz = 8000, .noiseEndHz = 20000,
      .lowpassStartHz = 900, .lowpassEndHz = 5000, .attack = 0.02f, .release = 0.18f,
      .peak = 0.32f}},
    // The whoosh rippling, missile after missile.
    {Sound::kMissileburst, "missileburst", 1,
     {.seconds = 0.5f, .tone = 0.7f, .wave = Wave::kSaw, .startHz = 120, .endHz = 760,
      .sweepSeconds = 0.45f, .noise = 0.6f, .noiseStartHz = 8000, .noiseEndHz = 20000,
      .lowpassStartHz = 800, .lowpassEndHz = 6000, .tremoloHz = 14, .tremoloDepth = 0.7f,
      .attack = 0.01f, .release = 0.25f, .peak = 0.38f}},
    // A heavy zap that falls a long way, wobbling.
    {Sound::kSuperbullet, "superbullet", 2,
     {.seconds = 0.4f, .startHz = 900, .endHz = 70, .sweepSeconds = 0.35f, .vibratoHz = 18,
      .vibratoSemitones = 1.5f, .lowpassStartHz = 5000, .lowpassEndHz = 600, .attack = 0.001f,
      .release = 0.3f, .peak = 0.38f}},
    // A low pulsing push.
    {Sound::kRepulsor, "repulsor", 1,
     {.seconds = 0.45f, .wave = Wave::kTriangle, .startHz = 70, .endHz = 260, .sweepSeconds = 0.4f,
      .noise = 0.35f, .noiseStartHz = 3000, .noiseEndHz = 1000, .lowpassStartHz = 1200,
      .lowpassEndHz = 400, .tremoloHz = 24, .tremoloDepth = 0.6f, .attack = 0.03f, .release = 0.3f,
      .peak = 0.4f}},
    // A whine rising over the nine ticks of the charge.
    {Sound::kTeleportCharge, "teleport-charge", 1,
     {.seconds = 0.15f, .wave = Wave::kTriangle, .startHz = 300, .endHz = 1400,
      .sweepSeconds = 0.14f, .vibratoHz = 30, .vibratoSemitones = 2, .attack = 0.005f,
      .release = 0.02f, .peak = 0.26f}},
    // A quick cascade of rising blips.
    {Sound::kTeleportJump, "teleport-jump", 1,
     {.seconds = 0.2f, .wave = Wave::kTriangle, .startHz = 500, .endHz = 900,
      .steps = {1, kFifth, kOctave, 3}, .stepCount = 4, .stepSeconds = 0.025f, .noteSustain = 0.6f,
      .attack = 0.001f, .release = 0.1f, .peak = 0.3f}},
    // A deep boom: coarse noise under a closing filter, a low thump beneath.
    {Sound::kLargeRockDestroyed, "large-rock-destroyed", 2,
     {.seconds = 0.75f, .tone = 0.5f, .wave = Wave::kSine, .startHz = 90, .endHz = 40,
      .noise = 1.0f, .noiseStartHz = 6000, .noiseEndHz = 900, .lowpassStartHz = 2400,
      .lowpassEndHz = 140, .attack = 0.002f, .release = 0.7f, .peak = 0.55f}},
    // A shorter, brighter crack.
    {Sound::kSmallRockDestroyed, "small-rock-destroyed", 3,
     {.seconds = 0.32f, .tone = 0.2f, .wave = Wave::kSine, .startHz = 180, .endHz = 80,
      .noise = 1.0f, .noiseStartHz = 12000, .noiseEndHz = 2500, .lowpassStartHz = 5000,
      .lowpassEndHz = 500, .attack = 0.001f, .release = 0.3f, .peak = 0.42f}},
    // The longest, loudest blast, crackling, with a falling growl.
    {Sound::kShipDestroyed, "ship-destroyed", 1,
     {.seconds = 1.3f, .tone = 0.6f, .startHz = 160, .endHz = 35, .sweepSeconds = 1.2f,
      .noise = 1.0f, .noiseStartHz = 5000, .noiseEndHz = 400, .lowpassStartHz = 3000,
      .lowpassEndHz = 90, .tremoloHz = 9, .tremoloDepth = 0.35f, .attack = 0.002f, .release = 1.2f,
      .peak = 0.65f}},
    // Four falling notes in minor: A, F, D, low A.
    {Sound::kGameOver, "game-over", 1,
     {.seconds = 1.1f, .startHz = kA4, .endHz = kA4, .vibratoHz = 5, .vibratoSemitones = 0.2f,
      .steps = {1, 0.7937f, 0.6674f, 0.5f}, .stepCount = 4, .stepSeconds = 0.22f,
      .noteSustain = 0.6f, .lowpassStartHz = 2000, .lowpassEndHz = 2000, .attack = 0.005f,
      .release = 0.4f, .peak = 0.36f}},
    // A wavering siren that rises an octave.
    {Sound::kSaucerAppears, "saucer-appears", 1,
     {.seconds = 0.4f, .startHz = 330, .endHz = 660, .sweepSeconds = 0.35f, .vibratoHz = 8,
      .vibratoSemitones = 1, .lowpassStartHz = 2500, .lowpassEndHz = 2500, .attack = 0.02f,
      .release = 0.15f, .peak = 0.26f}},
    // A thin zap that rises, the other way from the ship's.
    {Sound::kSaucerShot, "saucer-shot", 2,
     {.seconds = 0.1f, .startHz = 500, .endHz = 1300, .sweepSeconds = 0.08f, .lowpassStartHz = 4000,
      .lowpassEndHz = 4000, .attack = 0.001f, .release = 0.07f, .peak = 0.24f}},
    // A blast with the saucer's tone falling through it.
    {Sound::kSaucerDestroyed, "saucer-destroyed", 1,
     {.seconds = 0.65f, .tone = 0.5f, .startHz = 900, .endHz = 90, .sweepSeconds = 0.5f,
      .noise = 1.0f, .noiseStartHz = 10000, .noiseEndHz = 1200, .lowpassStartHz = 4000,
      .lowpassEndHz = 200, .attack = 0.001f, .release = 0.6f, .peak = 0.5f}},
    // Up the C-major chord: C, E, G, C.
    {Sound::kCapsuleWeapon, "capsule-weapon", 1,
     {.seconds = 0.32f, .startHz = kC5, .endHz = kC5, .steps = {1, kThird, kFifth, kOctave},
      .stepCount = 4, .stepSeconds = 0.06f, .noteSustain = 0.7f, .attack = 0.001f, .release = 0.1f,
      .peak = 0.3f}},
    // Two clipped G's, then C: loading up.
    {Sound::kCapsuleMissiles, "capsule-missiles", 1,
     {.seconds = 0.3f, .duty = 0.25f, .startHz = kG5, .endHz = kG5, .steps = {1, 0, 1, 0, kFourth},
      .stepCount = 5, .stepSeconds = 0.045f, .noteSustain = 0.5f, .attack = 0.001f,
      .release = 0.08f, .peak = 0.28f}},
    // The six-note extra-life tune: E, G, high E, C, D, G.
    {Sound::kCapsuleLife, "capsule-life", 1,
     {.seconds = 0.5f, .startHz = kE5, .endHz = kE5,
      .steps = {1, 1.1892f, kOctave, 1.5874f, 1.7818f, 2.3784f}, .stepCount = 6,
      .stepSeconds = 0.07f, .noteSustain = 0.8f, .attack = 0.001f, .release = 0.08f, .peak = 0.3f}},
    // A shimmer that climbs an octave.
    {Sound::kCapsuleInvincibility, "capsule-invincibility", 1,
     {.seconds = 0.6f, .wave = Wave::kTriangle, .startHz = kC5, .endHz = 2 * kC5, .vibratoHz = 16,
      .vibratoSemitones = 3, .tremoloHz = 12, .tremoloDepth = 0.5f, .attack = 0.01f,
      .release = 0.2f, .peak = 0.28f}},
    // Radar blips, the last one a fifth up.
    {Sound::kCapsuleTargetingAids, "capsule-targeting-aids", 1,
     {.seconds = 0.3f, .wave = Wave::kSine, .startHz = kA6, .endHz = kA6,
      .steps = {1, 0, 1, 0, kFifth}, .stepCount = 5, .stepSeconds = 0.05f, .noteSustain = 0.4f,
      .attack = 0.001f, .release = 0.06f, .peak = 0.26f}},
    // A fanfare: C, E, G, C, a breath, G, C held.
    {Sound::kMarksmanshipAward, "marksmanship-award", 1,
     {.seconds = 0.8f, .startHz = kC5, .endHz = kC5,
      .steps = {1, kThird, kFifth, kOctave, 0, kFifth, kOctave, kOctave}, .stepCount = 8,
      .stepSeconds = 0.08f, .noteSustain = 0.75f, .lowpassStartHz = 5000, .lowpassEndHz = 5000,
      .attack = 0.001f, .release = 0.2f, .peak = 0.34f}},
    // A softer, slower climb: G, C, E, G, the last one held with vibrato.
    {Sound::kLevelCleared, "level-cleared", 1,
     {.seconds = 0.6f, .wave = Wave::kTriangle, .startHz = kG4, .endHz = kG4, .vibratoHz = 5,
      .vibratoSemitones = 0.15f, .steps = {1, kFourth, kSixth, kOctave}, .stepCount = 4,
      .stepSeconds = 0.1f, .noteSustain = 0.85f, .attack = 0.002f, .release = 0.2f, .peak = 0.32f}},
    // A puff as the engine catches.
    {Sound::kThrustStart, "thrust-start", 1,
     {.seconds = 0.09f, .tone = 0.0f, .wave = Wave::kNone, .noise = 1.0f, .noiseStartHz = 4000,
      .noiseEndHz = 2000, .lowpassStartHz = 300, .lowpassEndHz = 1200, .attack = 0.01f,
      .release = 0.06f, .peak = 0.2f}},
    // A sigh as it dies away.
    {Sound::kThrustStop, "thrust-stop", 1,
     {.seconds = 0.16f, .tone = 0.0f, .wave = Wave::kNone, .noise = 1.0f, .noiseStartHz = 2500,
      .noiseEndHz = 800, .lowpassStartHz = 900, .lowpassEndHz = 200, .attack = 0.005f,
      .release = 0.15f, .peak = 0.16f}},
    // The engine: low filtered noise over a rumble, sputtering a little.
    {Sound::kThrustLoop, "thrust-loop", 1,
     {.seconds = 0.6f, .tone = 0.25f, .wave = Wave::kSaw, .startHz = 55, .endHz = 55, .noise = 1.0f,
      .noiseStartHz = 3000, .noiseEndHz = 3000, .lowpassStartHz = 420, .lowpassEndHz = 420,
      .tremoloHz = 10, .tremoloDepth = 0.15f, .peak = 0.2f, .loop = true}},
    // The saucer's buzzing warble, six wavers a second.
    {Sound::kSaucerHum, "saucer-hum", 1,
     {.seconds = 1.0f, .startHz = 180, .endHz = 180, .vibratoHz = 6, .vibratoSemitones = 2,
      .lowpassStartHz = 900, .lowpassEndHz = 900, .peak = 0.12f, .loop = true}},
}};
// clang-format on

constexpr bool inOrder() {
    for (int i = 0; i < kSoundCount; ++i) {
        if (index(kEntries[i].sound) != i) return false;
    }
    return true;
}
static_assert(inOrder(), "kEntries follows the order of Sound");

}  // namespace

const Recipe& recipeOf(Sound s) {
    return kEntries[index(s)].recipe;
}

int voiceLimit(Sound s) {
    return kEntries[index(s)].voices;
}

const char* soundName(Sound s) {
    return kEntries[index(s)].name;
}

}  // namespace kolvane::sound
