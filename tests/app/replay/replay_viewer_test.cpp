// Watching a recording: one recorded tick per window tick, four while Right is
// held, none while paused; the viewer's keys never reach the game; the end
// leaves the runner's last frame.
#include "app/replay/replay_viewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/session/script_player.h"
#include "game/game_world.h"
#include "support/parsed_script.h"

namespace kolvane {
namespace {

using testing::parsed;

TEST(ReplayViewer, PlaysAtTheWindowsPaceUnderItsOwnKeys) {
    const Script script = parsed(
        "size 320x200\ntick 2\npress S\ndown LEFT\ntick 10\nup LEFT\n"
        "tick 3\ndown ESCAPE\ntick 5\n");
    const auto world = std::make_unique<GameWorld>();
    Session session(*world, sessionStartOf(script.settings));
    session.start();
    session.paint();
    ReplayViewer viewer(script);

    EXPECT_EQ(viewer.advance(session), 1);
    viewer.keyDown(KeyEvent{vk::kSpace, false});
    EXPECT_TRUE(viewer.paused());
    EXPECT_EQ(viewer.advance(session), 0);
    viewer.keyDown(KeyEvent{vk::kSpace, true});  // a repeat doesn't toggle
    viewer.keyDown(KeyEvent{vk::kSpace, false});
    viewer.keyDown(KeyEvent{vk::kRight, false});
    EXPECT_EQ(viewer.advance(session), 4) << "tick 2, S, LEFT held, three ticks";
    EXPECT_EQ(session.ticksDone(), 5);
    EXPECT_TRUE(world->game.running);
    EXPECT_EQ(world->game.shotsFired, 0) << "the viewer's Space never reached the game";
    EXPECT_TRUE(session.heldKeys().isHeld(vk::kLeft));
    viewer.releaseAllKeys();  // the window lost the keyboard
    EXPECT_TRUE(session.heldKeys().isHeld(vk::kLeft)) << "the game's keys are the recording's";
    EXPECT_EQ(viewer.advance(session), 1);
    viewer.keyDown(KeyEvent{vk::kRight, false});
    EXPECT_EQ(viewer.advance(session), 4);
    viewer.keyUp(vk::kRight);
    while (viewer.advance(session) > 0) {
    }
    // The recording's Escape ended its game after tick 15; the ticks after it never run.
    EXPECT_TRUE(viewer.atEnd());
    EXPECT_FALSE(viewer.stopped());
    EXPECT_EQ(session.ticksDone(), 15);
    viewer.keyDown(KeyEvent{vk::kEscape, false});
    EXPECT_TRUE(viewer.stopped());
}

TEST(ReplayViewer, EndsOnTheFrameTheRunnerEndsOn) {
    const Script script = parsed(
        "clock 1765000000\nseed 3\nsize 740x580\ntick 20\npress S\n"
        "down UP\ntick 70\nup UP\npress SPACE\ntick 9\n");
    const auto runnerWorld = std::make_unique<GameWorld>();
    Session runner(*runnerWorld, sessionStartOf(script.settings));
    runner.start();
    runner.paint();
    for (const Command& c : script.commands) playCommand(runner, c);
    const gfx::Surface expected = runner.frame();

    const auto world = std::make_unique<GameWorld>();
    Session session(*world, sessionStartOf(script.settings));
    session.start();
    session.paint();
    ReplayViewer viewer(script);
    viewer.keyDown(KeyEvent{vk::kRight, false});
    while (viewer.advance(session) > 0) {
    }
    ASSERT_EQ(session.frame().width(), expected.width());
    EXPECT_TRUE(
        std::equal(expected.pixels(), expected.pixels() + 740 * 580, session.frame().pixels()));
}

}  // namespace
}  // namespace kolvane
