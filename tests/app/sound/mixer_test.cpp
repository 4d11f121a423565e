// The synthesized sounds and the mixer: every sound starts and ends at rest
// at its own loudness, loops run on without a seam, mute and volume 0 are
// silence, a sound holds no more voices than its share, loops fade in and
// out, and a crowded mix stays below full scale.
#include "app/sound/mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/sound/sound_bank.h"
#include "app/sound/sound_recipes.h"

namespace kolvane::sound::testing {
namespace {

const SoundBank& bank() {
    static const SoundBank b;
    return b;
}

float loudest(const std::vector<float>& v) {
    float peak = 0.0f;
    for (const float x : v) peak = std::max(peak, std::abs(x));
    return peak;
}

std::vector<float> render(Mixer& mixer, int frames) {
    std::vector<float> out(static_cast<std::size_t>(frames));
    mixer.render(out.data(), frames);
    return out;
}

TEST(SoundBank, EverySoundStartsAndEndsAtRestAtItsOwnLoudness) {
    for (int i = 0; i < kSoundCount; ++i) {
        const auto s = static_cast<Sound>(i);
        const std::span<const float> v = bank().samples(s);
        ASSERT_GT(v.size(), 1000u) << soundName(s);
        EXPECT_LE(v.size(), static_cast<std::size_t>(1.5 * kSampleRate)) << soundName(s);
        float peak = 0.0f;
        for (const float x : v) {
            ASSERT_TRUE(std::isfinite(x)) << soundName(s);
            peak = std::max(peak, std::abs(x));
        }
        EXPECT_NEAR(peak, recipeOf(s).peak, 1e-4) << soundName(s);
        if (isLoop(s)) {
            // The last sample runs on into the first as any two neighbours do.
            EXPECT_LT(std::abs(v.back() - v.front()), 0.02f) << soundName(s);
        } else {
            EXPECT_LT(std::abs(v.front()), 1e-3f) << soundName(s);
            EXPECT_LT(std::abs(v.back()), 1e-3f) << soundName(s);
        }
    }
}

TEST(Mixer, MuteAndVolumeZeroAreExactSilence) {
    for (const auto& [volume, muted] : {std::pair{100, true}, std::pair{0, false}}) {
        Mixer mixer(bank(), volume, muted);
        mixer.play(Sound::kShipDestroyed);
        mixer.setLoops(true, true);
        const std::vector<float> out = render(mixer, kSampleRate / 2);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float x) { return x == 0.0f; }));
    }
    Mixer mixer(bank(), 100, true);
    mixer.setMuted(false);
    mixer.play(Sound::kShipDestroyed);
    EXPECT_GT(loudest(render(mixer, kSampleRate / 2)), 0.3f);
}

TEST(Mixer, ASoundBeyondItsShareTakesOverItsOldestVoice) {
    auto shots = [](int count) {
        Mixer mixer(bank());
        for (int i = 0; i < count; ++i) mixer.play(Sound::kShot);
        return render(mixer, 2048);
    };
    ASSERT_EQ(voiceLimit(Sound::kShot), 3);
    EXPECT_NE(shots(2), shots(3));
    EXPECT_EQ(shots(3), shots(4));
}

TEST(Mixer, LoopsFadeInAndOutWithoutAJump) {
    Mixer mixer(bank());
    mixer.setLoops(true, true);
    const std::vector<float> on = render(mixer, kSampleRate / 2);
    EXPECT_LT(std::abs(on.front()), 0.01f);
    EXPECT_GT(loudest(on), 0.1f);
    mixer.setLoops(false, false);
    const std::vector<float> fading = render(mixer, kSampleRate / 40);  // 25 ms
    EXPECT_LT(std::abs(fading.front() - on.back()), 0.05f);
    const std::vector<float> off = render(mixer, 1024);
    EXPECT_EQ(loudest(off), 0.0f);
}

TEST(Mixer, ACrowdedMixStaysBelowFullScale) {
    Mixer mixer(bank());
    mixer.setLoops(true, true);
    float peak = 0.0f;
    for (int block = 0; block < 50; ++block) {
        for (int i = 0; i < kSoundCount; ++i) mixer.play(static_cast<Sound>(i));
        peak = std::max(peak, loudest(render(mixer, 512)));
    }
    EXPECT_GT(peak, 0.7f);
    EXPECT_LE(peak, 1.0f);
}

}  // namespace
}  // namespace kolvane::sound::testing
