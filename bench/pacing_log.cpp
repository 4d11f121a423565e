#include "bench/pacing_log.h"

#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "bench/alloc_counter.h"
#include "bench/pacing_figures.h"
#include "core/keys.h"

namespace kolvane::bench {

namespace {

using Clock = std::chrono::steady_clock;
// The first second of a run (window mapping, first frames) is left out of
// the title figures.
constexpr std::size_t kSettleTicks = 67;
// Room for 45 minutes of ticks; later ticks are not recorded.
constexpr std::size_t kMaxTicks = 180000;

struct Mark {
    std::size_t tick = 0;  // ticks recorded before this moment
    std::int64_t wakeUps = 0;
    double cpuMs = 0.0;   // user + system time of the whole process
    double wallMs = 0.0;  // steady clock since begin()
    perf::AllocationCount heap;
};

struct Log {
    const char* path = nullptr;
    Clock::time_point start;
    char video[160] = "unknown";
    std::int64_t mainRealtimeNs = 0;
    std::int64_t firstPresentRealtimeNs = 0;
    double firstPresentMs = -1.0;
    std::array<double, kMaxTicks> tickMs{};  // steady clock since begin()
    std::size_t ticks = 0;
    std::int64_t wakeUps = 0;
    Mark settled;     // the title phase starts (after the first second)
    Mark playStarts;  // the first S
    bool playing = false;
    Mark finished;
};

Log log;

std::int64_t realtimeNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

double sinceStartMs() {
    return std::chrono::duration<double, std::milli>(Clock::now() - log.start).count();
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

Mark mark() {
    return {log.ticks, log.wakeUps, cpuMs(), sinceStartMs(), perf::current()};
}

// The figures of the ticks [from.tick, to.tick), the first period being the
// one that ends at from.tick, and the CPU time and allocations between.
void writePhase(std::FILE* f, const char* name, const Mark& from, const Mark& to) {
    const std::size_t first = std::max<std::size_t>(from.tick, 1) - 1;
    const std::size_t last = std::min(to.tick, std::min(log.ticks, kMaxTicks));
    const PeriodFigures p =
        last > first ? periodFigures(log.tickMs.data() + first, last - first) : PeriodFigures{};
    if (p.ticks == 0) {
        std::fprintf(f, "%s.ticks 0\n", name);
        return;
    }
    const double wall = to.wallMs - from.wallMs;

    std::fprintf(f, "%s.ticks %zu\n", name, p.ticks);
    std::fprintf(f, "%s.seconds %.3f\n", name, wall / 1e3);
    std::fprintf(f, "%s.period_mean_ms %.4f\n", name, p.meanMs);
    std::fprintf(f, "%s.period_p50_ms %.4f\n", name, p.p50Ms);
    std::fprintf(f, "%s.period_p99_ms %.4f\n", name, p.p99Ms);
    std::fprintf(f, "%s.period_min_ms %.4f\n", name, p.minMs);
    std::fprintf(f, "%s.period_max_ms %.4f\n", name, p.maxMs);
    std::fprintf(f, "%s.deviation_p99_ms %.4f\n", name, p.deviationP99Ms);
    std::fprintf(f, "%s.deviation_max_ms %.4f\n", name, p.deviationMaxMs);
    std::fprintf(f, "%s.schedule_lateness_max_ms %.4f\n", name, p.latenessMaxMs);
    std::fprintf(f, "%s.drift_ms_per_minute %.4f\n", name, p.driftMsPerMinute);
    std::fprintf(f, "%s.total_drift_ms %.4f\n", name, p.elapsedMinusTicksMs);
    std::fprintf(f, "%s.stalls %zu\n", name, p.stalls);
    std::fprintf(f, "%s.catch_ups %zu\n", name, p.catchUps);
    std::fprintf(f, "%s.bursts %zu\n", name, p.bursts);
    std::fprintf(
        f, "%s.wake_ups_per_tick %.3f\n", name,
        static_cast<double>(to.wakeUps - from.wakeUps) / static_cast<double>(to.tick - from.tick));
    std::fprintf(f, "%s.cpu_percent %.3f\n", name, 100.0 * (to.cpuMs - from.cpuMs) / wall);
    std::fprintf(f, "%s.allocations %lld\n", name,
                 static_cast<long long>(to.heap.allocations - from.heap.allocations));
    std::fprintf(f, "%s.allocated_bytes %lld\n", name,
                 static_cast<long long>(to.heap.bytes - from.heap.bytes));
}

}  // namespace

PacingLog::PacingLog(const char* path) {
    log.start = Clock::now();
    log.mainRealtimeNs = realtimeNs();
    log.path = path;
}

void PacingLog::windowOpened(SDL_Window* window) {
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    const char* driver = SDL_GetCurrentVideoDriver();
    if (surface == nullptr || driver == nullptr) return;
    std::snprintf(log.video, sizeof log.video, "%s driver, window surface %dx%d %s", driver,
                  surface->w, surface->h, SDL_GetPixelFormatName(surface->format->format));
}

void PacingLog::wokeUp() {
    ++log.wakeUps;
}

void PacingLog::tickStarted() {
    if (log.ticks < kMaxTicks) log.tickMs[log.ticks] = sinceStartMs();
    ++log.ticks;
    if (log.ticks == kSettleTicks) {
        perf::start();
        log.settled = mark();
    }
}

void PacingLog::framePresented() {
    if (log.firstPresentMs >= 0) return;
    log.firstPresentMs = sinceStartMs();
    log.firstPresentRealtimeNs = realtimeNs();
}

void PacingLog::keyDown(int virtualKey) {
    if (virtualKey != vk::kS || log.playing) return;
    log.playing = true;
    log.playStarts = mark();
}

void PacingLog::end() {
    log.finished = mark();
    perf::stop();
    std::FILE* f = std::fopen(log.path, "w");
    if (f == nullptr) {
        std::perror(log.path);
        return;
    }
    std::fprintf(f, "video %s\n", log.video);
    std::fprintf(f, "main_realtime_ns %lld\n", static_cast<long long>(log.mainRealtimeNs));
    std::fprintf(f, "first_present_realtime_ns %lld\n",
                 static_cast<long long>(log.firstPresentRealtimeNs));
    std::fprintf(f, "first_present_after_main_ms %.3f\n", log.firstPresentMs);
    std::fprintf(f, "allocation_counter %s\n", perf::available() ? "on" : "off");
    const Mark& titleEnd = log.playing ? log.playStarts : log.finished;
    writePhase(f, "title", log.settled, titleEnd);
    if (log.playing) writePhase(f, "play", log.playStarts, log.finished);
    for (std::size_t i = 0; i < std::min(log.ticks, kMaxTicks); ++i) {
        std::fprintf(f, "tick %.4f\n", log.tickMs[i]);
    }
    std::fclose(f);
}

}  // namespace kolvane::bench
