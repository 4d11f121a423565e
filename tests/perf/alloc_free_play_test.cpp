// Nothing is allocated while the game plays: 10,000 ticks and paints of busy
// play, after the first second, with every allocator of the program counted;
// nor while its frames are scaled to a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/front_end/frame_scaler.h"
#include "app/settings/settings.h"
#include "app/sound/game_sound.h"
#include "bench/alloc_counter.h"
#include "bench/busy_world.h"
#include "core/platform.h"
#include "game/game_world.h"

namespace kolvane::perf {
namespace {

// Keeps the compiler from removing an allocation whose result is unused.
void* volatile sink = nullptr;

TEST(AllocationCounter, CountsEveryAllocatorForm) {
    if (!available()) GTEST_SKIP() << "the sanitizer owns the allocator";
    start();
    sink = std::malloc(16);
    std::free(sink);
    sink = std::calloc(4, 4);
    sink = std::realloc(sink, 64);
    std::free(sink);
    auto* one = new int(1);
    sink = one;
    delete one;
    auto* many = new int[8];
    sink = many;
    delete[] many;
    struct alignas(64) Wide {
        char bytes[64];
    };
    auto* wide = new Wide;
    sink = wide;
    delete wide;
    std::string text(100, 'x');  // longer than the small-string buffer
    sink = text.data();
    const AllocationCount c = stop();
    EXPECT_EQ(c.allocations, 7);
    EXPECT_EQ(c.frees, 5);
    EXPECT_GE(c.bytes, 16 + 16 + 64 + 4 + 32 + 64 + 100);
}

TEST(AllocationCounter, CountsNothingWhenStopped) {
    if (!available()) GTEST_SKIP() << "the sanitizer owns the allocator";
    start();
    stop();
    sink = std::malloc(16);
    std::free(sink);
    EXPECT_EQ(current().allocations, 0);
}

// Busy play by script: turning both ways, thrust, a shot every fourth tick,
// the special weapon every 60 ticks, S whenever the game is over, and the
// world topped up every 50 ticks so that it stays full.
void playTick(bench::BusyGame& game, int t) {
    if (t % 4 == 0) game.press(vk::kSpace);
    if (t % 60 == 30) game.press(vk::kX);
    if (t % 120 == 0) game.keyDown(vk::kRight);
    if (t % 120 == 50) game.release(vk::kRight);
    if (t % 120 == 60) game.keyDown(vk::kLeft);
    if (t % 120 == 100) game.release(vk::kLeft);
    if (t % 90 == 0) game.keyDown(vk::kUp);
    if (t % 90 == 10) game.release(vk::kUp);
    if (t % 500 == 250) game.press(vk::kP);  // a pause, ended by the next key
    if (t % 50 == 0) {
        if (!game.world().game.running) game.press(vk::kS);
        game.fill();
    }
    game.tick();
    game.paint();
}

TEST(AllocationFreePlay, TenThousandBusyTicksAndPaintsAllocateNothing) {
    if (!available()) GTEST_SKIP() << "the sanitizer owns the allocator";
    auto game = std::make_unique<bench::BusyGame>();
    ASSERT_TRUE(game->ok()) << game->error();

    // The first second of play is not counted.
    constexpr int kFirstSecond = 67;
    constexpr int kTicks = 10000;
    for (int t = 0; t < kFirstSecond; ++t) playTick(*game, t);

    long asteroidTicks = 0;
    long projectileTicks = 0;
    long saucerTicks = 0;
    start();
    for (int t = kFirstSecond; t < kFirstSecond + kTicks; ++t) {
        playTick(*game, t);
        const bench::BusyGame::Census c = game->census();
        asteroidTicks += c.asteroids;
        projectileTicks += c.bullets + c.missiles;
        saucerTicks += c.saucers;
    }
    const AllocationCount count = stop();
    std::printf("average in play: %.1f asteroids, %.1f projectiles, %.1f saucers\n",
                asteroidTicks / double{kTicks}, projectileTicks / double{kTicks},
                saucerTicks / double{kTicks});
    EXPECT_EQ(count.allocations, 0) << count.bytes << " bytes";
    EXPECT_EQ(count.frees, 0);

    // The play really was busy: on average most slots were in use.
    EXPECT_GT(asteroidTicks, 10L * kTicks);
    EXPECT_GT(projectileTicks, 8L * kTicks);
    EXPECT_GT(saucerTicks, 3L * kTicks);
}

// The sound listening to the same busy play, and its mixer rendering each
// tick's 15 ms as an audio callback would: neither allocates.
TEST(AllocationFreePlay, TheSoundHearingAndMixingBusyPlayAllocatesNothing) {
    if (!available()) GTEST_SKIP() << "the sanitizer owns the allocator";
    auto game = std::make_unique<bench::BusyGame>();
    ASSERT_TRUE(game->ok()) << game->error();
    sound::GameSound sound(Settings{}.volume, false);
    game->session().addListener(sound.listener());
    std::vector<float> block(sound::kFramesPerTick);
    auto tickAndMix = [&](int t) {
        playTick(*game, t);
        sound.render(block.data(), sound::kFramesPerTick);
    };

    constexpr int kFirstSecond = 67;
    constexpr int kTicks = 10000;
    for (int t = 0; t < kFirstSecond; ++t) tickAndMix(t);
    int audibleTicks = 0;
    start();
    for (int t = kFirstSecond; t < kFirstSecond + kTicks; ++t) {
        tickAndMix(t);
        for (const float x : block) {
            if (x != 0.0f) {
                ++audibleTicks;
                break;
            }
        }
    }
    const AllocationCount count = stop();
    EXPECT_EQ(count.allocations, 0) << count.bytes << " bytes";
    EXPECT_EQ(count.frees, 0);
    EXPECT_GT(audibleTicks, kTicks / 2);
}

// The scaled path: busy play scaled every tick into windows at 3x, at a size
// with a remainder to smooth, and in whole-pixel mode with borders. Only the
// first frame at each size makes the scaler's tables.
TEST(AllocationFreePlay, ScaledFramesAllocateNothing) {
    if (!available()) GTEST_SKIP() << "the sanitizer owns the allocator";
    auto game = std::make_unique<bench::BusyGame>();
    ASSERT_TRUE(game->ok()) << game->error();
    struct Window {
        std::int32_t width, height;
        ScaleMode mode;
    };
    for (const Window w :
         {Window{2220, 1740, ScaleMode::kSharp}, Window{1920, 1080, ScaleMode::kSharp},
          Window{1920, 1080, ScaleMode::kWhole}}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w.width) * w.height);
        const PixelTarget target{pixels.data(), w.width, w.height,
                                 static_cast<std::ptrdiff_t>(w.width) * 4};
        FrameScaler scaler;
        scaler.draw(game->session().frame(), target, w.mode);
        start();
        for (int t = 0; t < 300; ++t) {
            playTick(*game, t);
            scaler.draw(game->session().frame(), target, w.mode);
        }
        const AllocationCount count = stop();
        EXPECT_EQ(count.allocations, 0) << w.width << "x" << w.height << ": " << count.bytes;
    }
}

TEST(AllocationFreePlay, BusyWorldFillsEverySlot) {
    const bench::BusyGame game;
    ASSERT_TRUE(game.ok()) << game.error();
    const bench::BusyGame::Census c = game.census();
    EXPECT_EQ(c.asteroids, 16);
    EXPECT_EQ(c.saucers, 5);
    EXPECT_EQ(c.saucerShots, 5);
    EXPECT_EQ(c.bullets, 10);
    EXPECT_EQ(c.missiles, 10);
    EXPECT_TRUE(c.capsule);
    EXPECT_TRUE(c.targetingAids);
    EXPECT_TRUE(c.message);
}

}  // namespace
}  // namespace kolvane::perf
