// The sound's costs: the mixer rendering the busiest second of ten seconds
// of busy play at 48 kHz (the sounds the detector heard in it, started at
// their ticks, 720 samples a tick), the detector's work after one tick, and
// the synthesis of every sound at start-up. The summary checks the mix
// against its budget: 1 % of one core.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <vector>

#include "app/sound/event_detector.h"
#include "app/sound/mixer.h"
#include "app/sound/sound_bank.h"
#include "bench/busy_world.h"
#include "game/game_world.h"

namespace kolvane::bench {
namespace {

using sound::kFramesPerTick;
using sound::SoundCues;

constexpr int kTicksPerSecond = 67;  // 1005 ms
constexpr int kRecordedTicks = 10 * kTicksPerSecond;

const sound::SoundBank& bank() {
    static const sound::SoundBank b;
    return b;
}

// Busy play: turning, thrust, a shot every fourth tick, the special weapon
// every 60, S after a game over, and the world topped up every 50 ticks.
void playTick(BusyGame& game, int t) {
    if (t % 4 == 0) game.press(vk::kSpace);
    if (t % 60 == 30) game.press(vk::kX);
    if (t % 120 == 0) game.keyDown(vk::kRight);
    if (t % 120 == 50) game.release(vk::kRight);
    if (t % 90 == 0) game.keyDown(vk::kUp);
    if (t % 90 == 40) game.release(vk::kUp);
    if (t % 50 == 0) {
        if (!game.world().game.running) game.press(vk::kS);
        game.fill();
    }
    game.tick();
    game.paint();
}

// The cues of each tick (a tick's key events and the tick itself, together).
class TickCues final : public sound::SoundCueSink {
public:
    void cue(const SoundCues& c) override {
        current.starts.add(c.starts);
        current.thrusting = c.thrusting;
        current.saucerHum = c.saucerHum;
    }
    SoundCues current;
};

struct BusySecond {
    std::vector<SoundCues> ticks;
    int sounds = 0;
};

int soundsIn(const SoundCues& c) {
    int n = 0;
    for (int i = 0; i < sound::kSoundCount; ++i) n += c.starts.has(static_cast<sound::Sound>(i));
    return n;
}

// Ten seconds of busy play heard by the detector; the second with the most sounds.
const BusySecond& busySecond() {
    static const BusySecond second = [] {
        BusyGame game;
        TickCues sink;
        sound::EventDetector detector(sink);
        game.session().addListener(detector);
        std::vector<SoundCues> all;
        for (int t = 0; t < kRecordedTicks; ++t) {
            sink.current.starts = {};
            playTick(game, t);
            all.push_back(sink.current);
        }
        BusySecond best;
        for (int from = 0; from + kTicksPerSecond <= kRecordedTicks; ++from) {
            int n = 0;
            for (int t = from; t < from + kTicksPerSecond; ++t) n += soundsIn(all[t]);
            if (n > best.sounds) {
                best.sounds = n;
                best.ticks.assign(all.begin() + from, all.begin() + from + kTicksPerSecond);
            }
        }
        return best;
    }();
    return second;
}

void BM_SoundMixBusySecond(benchmark::State& state) {
    const BusySecond& second = busySecond();
    std::array<float, kFramesPerTick> block{};
    for (auto _ : state) {
        sound::Mixer mixer(bank());
        for (const SoundCues& c : second.ticks) {
            for (int i = 0; i < sound::kSoundCount; ++i) {
                const auto s = static_cast<sound::Sound>(i);
                if (c.starts.has(s)) mixer.play(s);
            }
            mixer.setLoops(c.thrusting, c.saucerHum);
            mixer.render(block.data(), kFramesPerTick);
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.counters["sounds"] = second.sounds;
}
BENCHMARK(BM_SoundMixBusySecond)->Unit(benchmark::kMillisecond);

// A snapshot of the busy world and the comparison with the one before.
void BM_SoundDetectorTick(benchmark::State& state) {
    static BusyGame game;
    const GameWorld& w = game.world();
    sound::GameSnapshot was = sound::takeSnapshot(w, game.session().heldKeys(), game.client());
    for (auto _ : state) {
        const sound::GameSnapshot now =
            sound::takeSnapshot(w, game.session().heldKeys(), game.client());
        benchmark::DoNotOptimize(sound::deriveCues(was, now, w, sound::Origin::kTick));
        was = now;
    }
}
BENCHMARK(BM_SoundDetectorTick)->Unit(benchmark::kMicrosecond);

void BM_SoundSynthesisAtStartUp(benchmark::State& state) {
    for (auto _ : state) {
        const sound::SoundBank b;
        benchmark::DoNotOptimize(b.samples(sound::Sound::kShot).data());
    }
}
BENCHMARK(BM_SoundSynthesisAtStartUp)->Unit(benchmark::kMillisecond);

// The table, then the mix's share of one core against its budget.
class SoundSummary final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (run.run_name.function_name == "BM_SoundMixBusySecond" && (median || single)) {
                mixMs_ = run.GetAdjustedRealTime();
                mixCpuMs_ = run.GetAdjustedCPUTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (mixMs_ < 0) return;
        const double seconds = kTicksPerSecond * 0.015;
        const double share = 100.0 * mixMs_ / 1000.0 / seconds;
        char line[200];
        std::snprintf(line, sizeof line,
                      "\nSound: %d sounds in a busy second mixed in %.3f ms (CPU %.3f) = %.3f %% "
                      "of one core; target <= 1 %%: %s\n",
                      busySecond().sounds, mixMs_, mixCpuMs_, share,
                      share <= 1.0 ? "met" : "MISSED");
        GetOutputStream() << line;
    }

private:
    double mixMs_ = -1.0;
    double mixCpuMs_ = -1.0;
};

}  // namespace
}  // namespace kolvane::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kolvane::bench::SoundSummary reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
