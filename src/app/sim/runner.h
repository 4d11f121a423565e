#pragma once
// The replay runner: plays a script of ticks and key messages through the
// game's own frame cycle, with a clock that advances 15 ms per tick, and
// writes a trace line after every paint and PNG frames on request.
#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <memory>
#include <string>

#include "app/frame_cycle.h"
#include "app/sim/sim_platform.h"
#include "core/geometry.h"

namespace kolvane {
struct World;
}

namespace kolvane::sim {

struct Script;

// 1: a file could not be read or written; 2: a bad option or a mistake in the script.
enum ExitCode : int { kExitOk = 0, kExitFileError = 1, kExitUsageError = 2 };

inline constexpr std::int32_t kMinSize = 0;
inline constexpr std::int32_t kMaxSize = 4096;
inline constexpr const char* kUsage =
    "usage: kolvane-sim [--trace FILE] [--clock SECONDS] [--seed N] [--size WIDTHxHEIGHT] "
    "[SCRIPT]";

struct Options {
    std::string scriptPath = "-";  // "-": standard input
    std::string tracePath;         // empty: no trace; "-": standard output
    std::int32_t clock = 1000000000;
    std::uint32_t seed = 1;
    std::int32_t width = 740;
    std::int32_t height = 580;
    bool help = false;
};

// Reads the command line (argv[0] is the program). On a bad option returns
// false with error set.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// One game: its own world, platform and frame cycle. Binds its platform as
// the generator's clock and seeds the generator; unbinds the clock when done.
class Runner {
public:
    Runner(const Options& options, std::FILE* errors);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Window creation and the first paint.
    void start();
    // One timer tick, then one paint.
    void tick();
    // A key-down message; the key stays held until release().
    void keyDown(int key, bool repeat);
    // A key-down message for a key that is released straight after.
    void press(int key);
    void release(int key);

    bool quitRequested() const { return platform_.quitRequested(); }
    std::int64_t ticksDone() const { return platform_.ticksDone(); }
    const World& world() const { return *world_; }
    const gfx::Surface& frame() const { return cycle_.frame(); }
    Rect client() const { return client_; }

private:
    Rect client_;
    SimPlatform platform_;
    std::unique_ptr<World> world_;
    FrameCycle cycle_;
};

// Plays a parsed script; returns the exit code.
int runScript(const Options& options, const Script& script, std::FILE* out, std::FILE* errors);

// The whole program: options, the script (from `in` for "-"), the run.
int simMain(int argc, const char* const* argv, std::istream& in, std::FILE* out, std::FILE* errors);

}  // namespace kolvane::sim
