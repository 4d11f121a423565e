#pragma once
// The replay runner: plays a script of ticks and key messages through the
// game's own frame cycle, with the replay clock (15 ms per tick), and writes a
// trace line after every paint and PNG frames on request.
#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "app/session/script.h"
#include "app/session/script_player.h"
#include "app/session/session.h"
#include "app/session/tick_and_field.h"
#include "core/geometry.h"

namespace kolvane {
struct GameWorld;
}

namespace kolvane::sim {

// 1: a file could not be read or written; 2: a bad option or a mistake in the
// script; 3: a recording whose games do not replay to the results it claims;
// 4: a recording in which no game ended (it proves nothing).
enum ExitCode : int {
    kExitOk = 0,
    kExitFileError = 1,
    kExitUsageError = 2,
    kExitNotVerified = 3,
    kExitNoGames = 4,
};

inline constexpr std::int32_t kMinSize = 0;
inline constexpr std::int32_t kMaxSize = 4096;
inline constexpr const char* kUsage =
    "usage: kolvane-sim [--trace FILE] [--out DIR] [--clock SECONDS] [--seed N] "
    "[--size WIDTHxHEIGHT] [SCRIPT]\n"
    "       kolvane-sim --verify RECORDING [--clock SECONDS] [--seed N] [--size WIDTHxHEIGHT]"
    "\n       kolvane-sim --version";

struct Options {
    std::string scriptPath = "-";  // "-": standard input
    std::string tracePath;         // empty: no trace; "-": standard output
    std::string outDir;            // where `shot` writes its PNG files; empty: here
    std::int32_t clock = 1000000000;
    std::uint32_t seed = 1;
    std::int32_t width = kClientWidth;
    std::int32_t height = kClientHeight;
    // Given on the command line: these win over the script's settings lines.
    bool clockGiven = false;
    bool seedGiven = false;
    bool sizeGiven = false;
    std::string verifyPath;  // --verify: replay this recording and check its games
    bool help = false;
    bool version = false;
};

// Reads the command line (argv[0] is the program). On a bad option returns
// false with error set.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The options with the script's settings lines in place of those the command
// line did not give.
Options withScriptSettings(Options options, const ScriptSettings& settings);

// One game of the runner: a session over a world of its own, whose message
// boxes are written to `errors` (when not null) instead of blocking.
class Runner final : public MessageBoxes {
public:
    Runner(const Options& options, std::FILE* errors);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Window creation and the first paint.
    void start();
    // Applies one script command (see playCommand); false when the run must stop.
    template <class AfterTick>
    bool play(const Command& command, AfterTick&& afterTick) {
        return playCommand(session_, command, afterTick);
    }
    bool play(const Command& command) { return playCommand(session_, command); }
    // The commands one at a time: a tick (and its paint), a key-down that
    // leaves the key held (a repeat when `repeat`), a press, a release.
    void tick();
    void keyDown(int key, bool repeat);
    void press(int key);
    void release(int key);

    bool quitRequested() const { return session_.quitRequested(); }
    std::int64_t ticksDone() const { return session_.ticksDone(); }
    const GameWorld& world() const { return *world_; }
    const gfx::Surface& frame() const { return session_.frame(); }
    Rect client() const { return session_.client(); }
    Session& session() { return session_; }

    void messageBox(const char* text, const char* caption) override;

private:
    std::FILE* errors_;
    std::unique_ptr<GameWorld> world_;
    Session session_;
};

// Plays a parsed script; returns the exit code.
int runScript(const Options& options, const Script& script, std::FILE* out, std::FILE* errors);

// Replays a recording and checks its games (--verify); returns the exit code.
int verifyRecordingText(const Options& options, std::string_view text, std::FILE* out,
                        std::FILE* errors);

// The whole program: options, the script (from `in` for "-"), the run.
int simMain(int argc, const char* const* argv, std::istream& in, std::FILE* out, std::FILE* errors);

}  // namespace kolvane::sim
