// A recording replays to the very game that was played: a session driven the
// way a window drives one (key-downs, auto-repeats of held keys, releases,
// pauses, the window losing the keyboard, keys the game ignores, games lost
// and started again) is recorded, and its recording, replayed by the runner,
// gives the same trace, tick by tick; verification, which paints no pixel,
// gives the same trace too, and the same game results.
#include "app/replay/recorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/replay/recording.h"
#include "app/replay/verify.h"
#include "app/session/script_player.h"
#include "app/sim/runner.h"
#include "app/sim/trace.h"
#include "game/game_world.h"
#include "soak/script_generator.h"

namespace kolvane {

// Game results in failure messages.
void PrintTo(const GameResult& g, std::ostream* out) {
    *out << "game " << g.number << " (score " << g.score << ", level " << g.level << ", tick "
         << g.endTick << ")";
}

namespace {

using Hashes = std::vector<std::size_t>;

void addTrace(Hashes& hashes, std::int64_t tick, const GameWorld& world) {
    std::string line;
    sim::formatTraceLine(line, tick, world);
    hashes.push_back(std::hash<std::string>{}(line));
}

struct Played {
    std::string recording;
    std::vector<FinishedGame> games;
    Hashes trace;
};

// Plays `ticks` ticks like a window: the soak's player at the keys, the window
// losing the keyboard now and then (every held key let go), a tick and a paint
// at a time.
Played playLikeAWindow(const SessionStart& start, std::int64_t ticks) {
    Played played;
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, start);
    Recorder recorder("test", "test window", start.clockSeconds);
    session.addListener(recorder);
    session.start();
    session.paint();
    addTrace(played.trace, 0, *world);
    soak::ScriptGenerator player(soak::Style::kPlay, 42);
    std::int64_t nextFocusLoss = 500;
    while (session.ticksDone() < ticks && !session.quitRequested()) {
        const soak::Step step = player.next(static_cast<std::int32_t>(ticks - session.ticksDone()));
        playCommand(session, step.command(), [&] {
            addTrace(played.trace, session.ticksDone(), *world);
            return true;
        });
        if (session.ticksDone() >= nextFocusLoss) {
            session.releaseAllKeys();
            nextFocusLoss += 937;
        }
    }
    played.recording = recorder.wholeText();
    played.games = recorder.finishedGames();
    return played;
}

Hashes replayWithRunner(const Recording& recording) {
    Hashes trace;
    sim::Runner runner(sim::withScriptSettings(sim::Options{}, recording.script.settings), nullptr);
    runner.start();
    addTrace(trace, 0, runner.world());
    for (const Command& c : recording.script.commands) {
        runner.play(c, [&] {
            addTrace(trace, runner.ticksDone(), runner.world());
            return true;
        });
    }
    return trace;
}

Hashes replayWithoutPixels(const Recording& recording) {
    Hashes trace;
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, sessionStartOf(recording.script.settings));
    session.discardPixels(true);
    session.start();
    session.paint();
    addTrace(trace, 0, *world);
    for (const Command& c : recording.script.commands) {
        playCommand(session, c, [&] {
            addTrace(trace, session.ticksDone(), *world);
            return true;
        });
    }
    return trace;
}

std::size_t firstDifference(const Hashes& a, const Hashes& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

TEST(Recording, ReplaysToTheGameThatWasPlayed) {
    const SessionStart start{1765000000, 7, Rect{0, 0, 740, 580}};
    const Played played = playLikeAWindow(start, 30000);
    ASSERT_GE(played.games.size(), 3u) << "the play should lose several games";

    Recording recording;
    std::string error;
    ASSERT_TRUE(readRecording(played.recording, "played", kReplayLimits, recording, error))
        << error;
    EXPECT_EQ(sessionStartOf(recording.script.settings), start);

    const Hashes byRunner = replayWithRunner(recording);
    EXPECT_EQ(byRunner.size(), played.trace.size());
    EXPECT_EQ(firstDifference(byRunner, played.trace), played.trace.size())
        << "the runner's trace differs at that tick";
    const Hashes withoutPixels = replayWithoutPixels(recording);
    EXPECT_EQ(firstDifference(withoutPixels, played.trace), played.trace.size())
        << "a replay that paints no pixel differs at that tick";

    std::vector<GameResult> results;
    for (const FinishedGame& g : played.games) results.push_back(g.result);
    EXPECT_EQ(recording.games, results) << "the game lines";
    EXPECT_EQ(replayGames(recording.script, start), results) << "verification";
}

// What changes nothing stays out of the recording: a held arrow's
// auto-repeats, the release of a key not held, and the release of any key but
// the arrows (its down is a press). A repeat that ends a pause, or of a key let
// go when the window lost the keyboard, stays.
TEST(Recording, LeavesOutEventsThatChangeNothing) {
    GameWorld world;
    Session session(world, SessionStart{1765000000, 1, Rect{0, 0, 740, 580}});
    Recorder recorder("0.2", "test window", 1765000000);
    session.addListener(recorder);
    session.start();
    session.keyDown(KeyEvent{vk::kS, false});
    session.keyUp(vk::kS);
    session.keyDown(KeyEvent{vk::kLeft, false});
    for (int i = 0; i < 3; ++i) {
        session.tick();
        session.keyDown(KeyEvent{vk::kLeft, true});
    }
    session.keyDown(KeyEvent{vk::kP, false});
    session.keyDown(KeyEvent{vk::kLeft, true});  // ends the pause
    session.releaseAllKeys();
    session.keyDown(KeyEvent{vk::kLeft, true});  // held again
    session.keyUp(vk::kUp);
    session.tick();
    EXPECT_EQ(recorder.wholeText(),
              "# Kolvane 0.2 recording: kolvane --replay FILE watches it, kolvane-sim --verify "
              "FILE checks it\n"
              "# recorded 2025-12-06T05:46:40Z in the test window\n"
              "clock 1765000000\nseed 1\nsize 740x580\n"
              "press S\ndown LEFT\ntick 3\npress P\nrepeat LEFT\nup LEFT\nrepeat LEFT\ntick 1\n");
}

// A line holds at most 1,000,000 ticks: a session idle for exactly that many
// and one more (4.2 hours on the title screen) reads back whole, with the
// leaderboard's ticket the recorder was given, on the line after the size.
TEST(Recording, TheLongestIdleRunAndOneMoreReadBack) {
    GameWorld world;
    Session session(world, SessionStart{1765000000, 1, Rect{0, 0, 740, 580}});
    Recorder recorder("0.2", "test window", 1765000000, "t-1.x_Y");
    session.addListener(recorder);
    session.start();
    // The recorder hears of ticks; the title screen's own ticks change nothing it reads.
    for (std::int32_t i = 0; i < kMaxTickCount + 1; ++i) recorder.ticked(session);
    const std::string text = recorder.wholeText();
    EXPECT_NE(text.find("size 740x580\nticket t-1.x_Y\ntick 1000000\ntick 1\n"), std::string::npos)
        << text;
    Recording recording;
    std::string error;
    ASSERT_TRUE(readRecording(text, "idle", kReplayLimits, recording, error)) << error;
    ASSERT_EQ(recording.script.commands.size(), 1u);
    EXPECT_EQ(recording.script.commands[0].count, kMaxTickCount + 1);
    EXPECT_EQ(recording.script.settings.ticket, "t-1.x_Y");
}

}  // namespace
}  // namespace kolvane
