// A scripted game heard without a device: sound where the detector heard an
// event, silence where none has sounded for longer than the longest sound,
// the same bytes every time, and nothing at all when muted.
#include "app/sound/offline_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sound/heard.h"

namespace kolvane::sound::testing {
namespace {

constexpr SessionStart kBattleStart{1000000000, kBattleSeed, {0, 0, 740, 580}};
// No sound lasts longer than 1.5 s: 100 ticks.
constexpr std::int64_t kLongestTicks = 100;

bool silentTick(const std::vector<std::int16_t>& samples, std::int64_t tick) {
    const auto first = samples.begin() + tick * kFramesPerTick;
    return std::all_of(first, first + kFramesPerTick, [](std::int16_t s) { return s == 0; });
}

TEST(OfflineRender, BattleSoundsWhereEventsAreAndIsSilentWhereNoneAre) {
    Ears ears;
    const std::vector<std::int16_t> samples =
        renderScriptSound(battleScript(), kBattleStart, OfflineSound{}, &ears);
    const auto ticks = static_cast<std::int64_t>(samples.size() / kFramesPerTick);
    ASSERT_GT(ticks, 3000);

    // Samples are rendered after each tick: a tick's sound starts in the 15 ms
    // rendered right after it, a key's in those after the next tick; every
    // sound lasts longer than that.
    std::vector<bool> starts(static_cast<std::size_t>(ticks) + 1, false);
    std::vector<bool> loops(static_cast<std::size_t>(ticks) + 1, false);
    for (const Heard& h : ears.heard()) {
        if (!h.cues.starts.empty()) starts[h.tick] = true;
        if (h.cues.thrusting || h.cues.saucerHum) loops[h.tick] = true;
    }
    int loudTicks = 0;
    int quietTicks = 0;
    std::int64_t lastSound = -kLongestTicks - 1;
    for (std::int64_t t = 0; t < ticks; ++t) {
        if (starts[t]) {
            EXPECT_FALSE(silentTick(samples, t)) << "nothing heard after the event at tick " << t;
            ++loudTicks;
        }
        if (starts[t] || loops[t]) lastSound = t;
        if (t - lastSound > kLongestTicks) {
            EXPECT_TRUE(silentTick(samples, t)) << "sound at tick " << t;
            ++quietTicks;
        }
    }
    EXPECT_GT(loudTicks, 200);
    EXPECT_GT(quietTicks, 100);
}

TEST(OfflineRender, SameScriptSameBytesAndMutedIsSilent) {
    const Script script = scriptOf(
        "press S\ntick 10\npress SPACE\ntick 5\npress X\ndown UP\ntick 30\nup UP\ntick 60\n");
    const std::vector<std::int16_t> once = renderScriptSound(script, kBattleStart, OfflineSound{});
    EXPECT_EQ(once, renderScriptSound(script, kBattleStart, OfflineSound{}));
    EXPECT_TRUE(std::any_of(once.begin(), once.end(), [](std::int16_t s) { return s != 0; }));
    const std::vector<std::int16_t> muted =
        renderScriptSound(script, kBattleStart, OfflineSound{100, true});
    EXPECT_EQ(muted.size(), once.size());
    EXPECT_TRUE(std::all_of(muted.begin(), muted.end(), [](std::int16_t s) { return s == 0; }));
}

}  // namespace
}  // namespace kolvane::sound::testing
