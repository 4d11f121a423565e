// The frame's costs on a busy mid-game world: one tick, one paint, both, the
// collision pass alone, an asteroid's outline and region with its point
// tests, and the least any paint must do (clear a 740 x 580 frame and copy it
// once). The summary after the table divides paint by that baseline and
// checks every figure against its budget.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/front_end/frame_scaler.h"
#include "bench/bench_summary.h"
#include "bench/busy_world.h"
#include "game/collisions.h"
#include "game/game_world.h"
#include "gfx/region.h"
#include "gfx/surface.h"

namespace kolvane::bench {
namespace {

// Built once: the replay takes a few thousand ticks.
BusyGame& busy() {
    static BusyGame game;
    return game;
}

// Each benchmark repeats one step from the same saved scene; putting the
// scene back is not timed.
template <class Step>
void fromSavedScene(benchmark::State& state, Step&& step) {
    BusyGame& g = busy();
    for (auto _ : state) {
        state.PauseTiming();
        g.restore();
        state.ResumeTiming();
        step(g);
    }
}

void BM_Tick(benchmark::State& state) {
    fromSavedScene(state, [](BusyGame& g) { g.tick(); });
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

void BM_Paint(benchmark::State& state) {
    fromSavedScene(state,
                   [](BusyGame& g) { benchmark::DoNotOptimize(g.session().paint().pixels()); });
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMicrosecond);

void BM_TickPaint(benchmark::State& state) {
    fromSavedScene(state, [](BusyGame& g) {
        g.tick();
        benchmark::DoNotOptimize(g.session().paint().pixels());
    });
}
BENCHMARK(BM_TickPaint)->Unit(benchmark::kMicrosecond);

void BM_CollisionPass(benchmark::State& state) {
    fromSavedScene(state, [](BusyGame& g) {
        Rect client = g.client();
        resolveCollisions(g.world(), g.session(), &client);
    });
}
BENCHMARK(BM_CollisionPass)->Unit(benchmark::kMicrosecond);

// The first large asteroid in play, or the first small one.
const Asteroid& sampleAsteroid() {
    const GameWorld& w = busy().world();
    for (const Asteroid& a : w.asteroids) {
        if (a.isActive() && a.getSize() == Asteroid::kLarge) return a;
    }
    for (const Asteroid& a : w.asteroids) {
        if (a.isActive()) return a;
    }
    return w.asteroids[0];
}

// One move: position, heading, the ten corners and the region built from them.
void BM_AsteroidOutlineAndRegion(benchmark::State& state) {
    const Asteroid saved = sampleAsteroid();
    const Rect client = busy().client();
    Asteroid a = saved;
    for (auto _ : state) {
        a = saved;
        a.update(&client);
        benchmark::DoNotOptimize(a.getRegion().pointCount());
    }
}
BENCHMARK(BM_AsteroidOutlineAndRegion)->Unit(benchmark::kNanosecond);

// The points one asteroid meets in a collision pass: the four hull corners and
// two points for each of ten bullets and ten missiles, spread over its box.
constexpr int kPointTests = 44;
std::vector<Point> probePoints(const gfx::Region& region) {
    const Rect box = region.box();
    std::vector<Point> points;
    for (int i = 0; i < kPointTests; ++i) {
        const std::int32_t w = box.right - box.left + 8;
        const std::int32_t h = box.bottom - box.top + 8;
        points.push_back({box.left - 4 + (i * 7) % w, box.top - 4 + (i * 11) % h});
    }
    return points;
}

void BM_RegionBuildAndPointTests(benchmark::State& state) {
    const Asteroid& a = sampleAsteroid();
    const auto& outline = a.getOutline();
    const std::vector<Point> points = probePoints(a.getRegion());
    for (auto _ : state) {
        const gfx::Region region(outline.data(), Asteroid::kCorners);
        int inside = 0;
        for (const Point& p : points) inside += region.contains(p.x, p.y) ? 1 : 0;
        benchmark::DoNotOptimize(inside);
    }
    state.counters["point tests"] = kPointTests;
}
BENCHMARK(BM_RegionBuildAndPointTests)->Unit(benchmark::kNanosecond);

void BM_RegionPointTest(benchmark::State& state) {
    const gfx::Region region = sampleAsteroid().getRegion();
    const std::vector<Point> points = probePoints(region);
    std::size_t k = 0;
    for (auto _ : state) {
        const Point p = points[k];
        k = k + 1 == points.size() ? 0 : k + 1;
        benchmark::DoNotOptimize(region.contains(p.x, p.y));
    }
}
BENCHMARK(BM_RegionPointTest)->Unit(benchmark::kNanosecond);

// The least a paint must do: a black 740 x 580 frame, copied once.
void BM_ClearAndCopy(benchmark::State& state) {
    gfx::Surface frame(740, 580);
    std::vector<std::uint32_t> window(static_cast<std::size_t>(740) * 580);
    for (auto _ : state) {
        frame.newFrame(740, 580);
        std::memcpy(window.data(), frame.pixels(), window.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearAndCopy)->Unit(benchmark::kMicrosecond);

// The frame scaled into a window: at a whole factor (2x: 1480 x 1160, 3x:
// 2220 x 1740) and in sharp mode at a size that leaves a remainder to smooth
// (a 1920 x 1080 screen, 1.86x). The busy world's frame, painted once, and
// all of it drawn every time (forget(): as if every row had changed, which
// the window's frames never all do).
void scaleInto(benchmark::State& state, std::int32_t width, std::int32_t height, ScaleMode mode) {
    const gfx::Surface& frame = busy().session().paint();
    std::vector<std::uint32_t> window(static_cast<std::size_t>(width) * height);
    FrameScaler scaler;
    const PixelTarget target{window.data(), width, height, static_cast<std::ptrdiff_t>(width) * 4};
    for (auto _ : state) {
        scaler.forget();
        scaler.draw(frame, target, mode);
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
}

void BM_ScaleWhole(benchmark::State& state) {
    const auto k = static_cast<std::int32_t>(state.range(0));
    scaleInto(state, 740 * k, 580 * k, ScaleMode::kSharp);
}
BENCHMARK(BM_ScaleWhole)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ScaleSharp1080p(benchmark::State& state) {
    scaleInto(state, 1920, 1080, ScaleMode::kSharp);
}
BENCHMARK(BM_ScaleSharp1080p)->Unit(benchmark::kMicrosecond);

// The baseline of the scaling: a plain copy of as many pixels as the scaled
// frame has.
void BM_CopyScaledSize(benchmark::State& state) {
    const auto k = static_cast<std::size_t>(state.range(0));
    const std::size_t pixels = 740 * k * 580 * k;
    std::vector<std::uint32_t> from(pixels, 0x123456u);
    std::vector<std::uint32_t> to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyScaledSize)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kolvane::bench

int main(int argc, char** argv) {
    using kolvane::bench::busy;
    if (!busy().ok()) {
        std::fprintf(stderr, "kolvane-bench: %s\n", busy().error().c_str());
        return 1;
    }
    busy().save();
    const auto c = busy().census();
    std::printf(
        "Busy world: %d asteroids, %d saucers with %d shots, %d bullets, %d missiles, "
        "capsule %s, targeting aids %s, message %s\n",
        c.asteroids, c.saucers, c.saucerShots, c.bullets, c.missiles, c.capsule ? "yes" : "no",
        c.targetingAids ? "on" : "off", c.message ? "showing" : "none");

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kolvane::bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
