// Figures of recordings (bench/recordings.sh): what half an hour of play
// recorded weighs, what each write of a recording costs, and a 10-minute
// recording for timing kolvane-sim --verify.
//
//   kolvane-recording-figures OUT_DIR
//
// The player is a model of steady play at the keyboard, as a window delivers
// it: a shot about once a second (Space held 4 to 8 ticks), a turn about every
// 1.3 s (an arrow held 0.1 to 0.9 s), thrust every 4 s or so, the special
// weapon every 12 s, a pause now and then, S a second or two after each game
// is lost; every held key repeating after half a second, 25 times a second.
// The session is kept as the window keeps it (KeptGames and the FolderStore:
// the recording handed to the background writer at each game over and every
// 10 s of play) in OUT_DIR/data; each hand-over on the ticking thread and
// each write on the writer's thread is timed.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/scores/score_overlay.h"
#include "app/session/tick_and_field.h"
#include "app/storage/background_writer.h"
#include "app/storage/folder_store.h"
#include "app/storage/kept_games.h"
#include "core/atomic_file.h"
#include "game/game_world.h"

namespace kolvane {
namespace {

class Dice {
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    int between(int lo, int hi) {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return lo + static_cast<int>(z % static_cast<std::uint64_t>(hi - lo + 1));
    }

private:
    std::uint64_t state_;
};

// A key the model holds: until when, and when it repeats next.
struct Hold {
    bool down = false;
    std::int64_t until = 0;
    std::int64_t nextRepeat = 0;
};

class SteadyPlayer {
public:
    explicit SteadyPlayer(std::uint64_t seed) : dice_(seed) {}

    // The key events before tick t.
    void play(Session& session, std::int64_t t) {
        const bool running = session.world().game.running;
        const bool paused = session.world().game.paused;
        for (auto& [key, hold] : holds_) {
            if (!hold.down) continue;
            if (t >= hold.until) {
                hold.down = false;
                session.keyUp(key);
                ++events;
            } else if (t >= hold.nextRepeat) {
                hold.nextRepeat = t + 2;
                session.keyDown(KeyEvent{key, true});
                ++events;
            }
        }
        if (paused) {
            if (t >= resumeAt_) press(session, t, vk::kLeft, 10);  // any key ends a pause
            return;
        }
        if (!running) {
            if (wasRunning_) startAt_ = t + dice_.between(60, 140);
            wasRunning_ = false;
            if (t >= startAt_) press(session, t, vk::kS, 5);
            return;
        }
        wasRunning_ = true;
        if (t >= nextShot_) {
            press(session, t, vk::kSpace, dice_.between(4, 8));
            nextShot_ = t + dice_.between(30, 100);
        }
        if (!held(vk::kLeft) && !held(vk::kRight) && t >= nextTurn_) {
            const int duration = dice_.between(8, 60);
            press(session, t, dice_.between(0, 1) == 0 ? vk::kLeft : vk::kRight, duration);
            nextTurn_ = t + duration + dice_.between(20, 80);
        }
        if (t >= nextThrust_) {
            const int duration = dice_.between(20, 90);
            press(session, t, vk::kUp, duration);
            nextThrust_ = t + duration + dice_.between(150, 350);
        }
        if (t >= nextSpecial_) {
            press(session, t, vk::kX, 5);
            nextSpecial_ = t + dice_.between(500, 1100);
        }
        if (t >= nextPause_) {
            press(session, t, vk::kP, 5);
            resumeAt_ = t + dice_.between(200, 600);
            nextPause_ = t + dice_.between(15000, 30000);
        }
    }

    std::int64_t events = 0;

private:
    bool held(int key) const {
        return std::any_of(holds_.begin(), holds_.end(),
                           [&](const auto& h) { return h.first == key && h.second.down; });
    }
    void press(Session& session, std::int64_t t, int key, int duration) {
        for (auto& [k, hold] : holds_) {
            if (k != key || hold.down) continue;
            hold = Hold{true, t + duration, t + 33};
            session.keyDown(KeyEvent{key, false});
            ++events;
        }
    }

    Dice dice_;
    std::array<std::pair<int, Hold>, 7> holds_{{{vk::kLeft, {}},
                                                {vk::kRight, {}},
                                                {vk::kUp, {}},
                                                {vk::kSpace, {}},
                                                {vk::kX, {}},
                                                {vk::kS, {}},
                                                {vk::kP, {}}}};
    bool wasRunning_ = false;
    std::int64_t startAt_ = 60;
    std::int64_t nextShot_ = 0;
    std::int64_t nextTurn_ = 0;
    std::int64_t nextThrust_ = 0;
    std::int64_t nextSpecial_ = 0;
    std::int64_t nextPause_ = 20000;
    std::int64_t resumeAt_ = 0;
};

struct Figures {
    std::size_t bytes = 0;
    std::int64_t events = 0;    // as the window delivered them
    std::int64_t recorded = 0;  // as the recording holds them
    std::size_t games = 0;
    std::vector<double> handOverMs;  // each hand-over of the recording, on the ticking thread
    std::vector<double> writeMs;     // each write of it, on the writer's
};

// Plays `ticks` ticks kept in folder; the recording ends up in the folder.
Figures play(const std::filesystem::path& folder, std::int64_t ticks, std::int64_t startedAt) {
    const auto world = std::make_unique<GameWorld>();
    Session session(*world,
                    SessionStart{static_cast<std::int32_t>(startedAt), 1, Rect{0, 0, 740, 580}});
    BackgroundWriter writer;
    FolderStore store(writer, FolderStoreSetup{folder, stderr});
    KeptGames kept(store, KeptGamesSetup{true, "SDL window on Linux", startedAt, 1});
    kept.attach(session);
    session.discardPixels(true);  // the game is the same; only the time is saved
    session.start();
    session.paint();
    kept.open();
    SteadyPlayer player(startedAt);
    Figures f;
    std::int64_t writtenAt = 0;
    std::size_t games = 0;
    for (std::int64_t t = 0; t < ticks; ++t) {
        player.play(session, t);
        session.tick();
        session.paint();
        const auto before = std::chrono::steady_clock::now();
        kept.afterTick(session);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - before;
        const std::size_t ended = kept.recorder().finishedGames().size();
        if (ended > games || session.ticksDone() - writtenAt >= kRecordingWriteTicks) {
            f.handOverMs.push_back(took.count());
            // The write itself, on the writer's thread: drained at once.
            const auto handed = std::chrono::steady_clock::now();
            writer.drain();
            f.writeMs.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - handed)
                    .count());
            writtenAt = session.ticksDone();
            games = ended;
        }
    }
    kept.finish(session);
    const std::string text = kept.recorder().wholeText();
    f.bytes = text.size();
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        const std::string_view line = std::string_view(text).substr(at, 7);
        if (line.starts_with("down ") || line.starts_with("up ") || line.starts_with("press ") ||
            line.starts_with("repeat ")) {
            ++f.recorded;
        }
    }
    f.events = player.events;
    f.games = kept.recorder().finishedGames().size();
    return f;
}

// Keeps the shown frame from being optimised away.
volatile std::uint32_t shownPixel = 0;

// The cost of showing the high-score table over a title frame: the frame
// copied and ten rows drawn, in microseconds (median of 1000 frames).
double overlayMicroseconds() {
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, SessionStart{1765000000, 1, Rect{0, 0, 740, 580}});
    session.start();
    ScoreTable table;
    for (int i = 0; i < 10; ++i)
        insertScore(table, ScoreEntry{1000 * i, i, 1765000000, 60, "-", 9});
    ScoreOverlay overlay;
    overlay.setTable(table);
    std::vector<double> us;
    for (int i = 0; i < 1000; ++i) {
        session.tick();
        const gfx::Surface& frame = session.paint();
        const auto before = std::chrono::steady_clock::now();
        shownPixel = overlay.compose(frame, true).pixels()[i];
        us.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - before)
                .count());
    }
    std::sort(us.begin(), us.end());
    return us[us.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace
}  // namespace kolvane

int main(int argc, char** argv) {
    using namespace kolvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: kolvane-recording-figures OUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    constexpr std::int64_t kHalfHour = 30 * 60 * 1000 / kTickMilliseconds;
    const Figures f = play(out / "data", kHalfHour, 1765000000);
    std::printf(
        "30 minutes of steady play (%lld ticks): %zu games, %lld key events "
        "(%.1f a second)\n",
        static_cast<long long>(kHalfHour), f.games, static_cast<long long>(f.events),
        static_cast<double>(f.events) / 1800.0);
    std::printf(
        "  recording: %zu bytes (%.1f KiB); %lld key events in it (%.1f a second), "
        "%.1f bytes each\n",
        f.bytes, static_cast<double>(f.bytes) / 1024.0, static_cast<long long>(f.recorded),
        static_cast<double>(f.recorded) / 1800.0,
        static_cast<double>(f.bytes) / static_cast<double>(f.recorded));
    std::printf(
        "  %zu hand-overs to the background writer (on the ticking thread): median %.3f ms, "
        "90th percentile %.3f ms, longest %.3f ms\n",
        f.handOverMs.size(), percentile(f.handOverMs, 0.5), percentile(f.handOverMs, 0.9),
        percentile(f.handOverMs, 1.0));
    std::printf(
        "  %zu writes of the whole recording (on the writer's thread): median %.2f ms, 90th "
        "percentile %.2f ms, longest %.2f ms\n",
        f.writeMs.size(), percentile(f.writeMs, 0.5), percentile(f.writeMs, 0.9),
        percentile(f.writeMs, 1.0));
    // A 10-minute session for kolvane-sim --verify.
    constexpr std::int64_t kTenMinutes = 10 * 60 * 1000 / kTickMilliseconds;
    const Figures ten = play(out / "ten-minutes", kTenMinutes, 1765100000);
    std::printf("the high-score table over a title frame: %.0f us a frame (copy and ten rows)\n",
                overlayMicroseconds());
    std::printf("10 minutes of steady play (%lld ticks): %zu games, recording %zu bytes\n",
                static_cast<long long>(kTenMinutes), ten.games, ten.bytes);
    return 0;
}
