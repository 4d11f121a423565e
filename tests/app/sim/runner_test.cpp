// The runner's game in process: message boxes, held keys and the key-down
// flags.
#include "app/sim/runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/random.h"
#include "game/game_world.h"

namespace kolvane::sim {
namespace {

TEST(Runner, MessageBoxIsWrittenNotShown) {
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    Runner runner(Options{}, sink);
    runner.messageBox("hdcbuffer Error", "error");
    std::rewind(sink);
    char buf[64] = {};
    ASSERT_NE(std::fgets(buf, sizeof buf, sink), nullptr);
    EXPECT_STREQ(buf, "error: hdcbuffer Error\n");
    std::fclose(sink);
}

Options smallRun() {
    Options o;
    o.clock = 5000;
    o.seed = 99;
    return o;
}

TEST(Runner, BindsItsClockAndSeed) {
    {
        Runner runner(smallRun(), nullptr);
        EXPECT_EQ(randomState(), 99u);
        EXPECT_EQ(kolvane::time(), 5000);
        runner.start();
        for (int i = 0; i < 67; ++i) runner.tick();
        EXPECT_EQ(runner.ticksDone(), 67);
        EXPECT_EQ(kolvane::time(), 5001);
    }
    // Unbound again once the runner is gone.
    EXPECT_NE(kolvane::time(), 5001);
}

TEST(Runner, StartsOnTheTitleScreen) {
    Runner runner(smallRun(), nullptr);
    runner.start();
    EXPECT_EQ(runner.frame().width(), 740);
    EXPECT_EQ(runner.frame().height(), 580);
    int active = 0;
    for (const Asteroid& a : runner.world().asteroids) active += a.isActive() ? 1 : 0;
    EXPECT_EQ(active, 4);
    EXPECT_FALSE(runner.world().game.running);
    EXPECT_FALSE(runner.world().ship.isActive());
}

TEST(Runner, DownHoldsTheKeyAndPressDoesNot) {
    Runner runner(smallRun(), nullptr);
    runner.start();
    runner.press(vk::kS);
    ASSERT_TRUE(runner.world().game.running);
    const Vec2 start = runner.world().ship.getHeading();

    runner.press(vk::kLeft);
    runner.tick();
    EXPECT_EQ(runner.world().ship.getHeading(), start) << "a press leaves nothing held";

    runner.keyDown(vk::kLeft, false);
    runner.tick();
    const Vec2 turned = runner.world().ship.getHeading();
    EXPECT_NE(turned, start);
    runner.tick();
    EXPECT_NE(runner.world().ship.getHeading(), turned) << "still held";

    runner.release(vk::kLeft);
    const Vec2 released = runner.world().ship.getHeading();
    runner.tick();
    EXPECT_EQ(runner.world().ship.getHeading(), released);
}

TEST(Runner, RepeatCarriesTheAutoRepeatFlag) {
    Runner runner(smallRun(), nullptr);
    runner.start();
    runner.press(vk::kS);
    runner.keyDown(vk::kP, false);
    EXPECT_TRUE(runner.world().game.paused);
    // A repeat ends the pause and, being a repeat, does not pause again.
    runner.keyDown(vk::kP, true);
    EXPECT_FALSE(runner.world().game.paused);
}

TEST(Runner, EscapeAsksToQuit) {
    Runner runner(smallRun(), nullptr);
    runner.start();
    EXPECT_FALSE(runner.quitRequested());
    runner.press(vk::kEscape);
    EXPECT_TRUE(runner.quitRequested());
}

TEST(Runner, SizeIsTheClientRectangle) {
    Options o = smallRun();
    o.width = 320;
    o.height = 200;
    Runner runner(o, nullptr);
    runner.start();
    EXPECT_EQ(runner.client(), (Rect{0, 0, 320, 200}));
    EXPECT_EQ(runner.frame().width(), 320);
    EXPECT_EQ(runner.frame().height(), 200);
    runner.press(vk::kS);
    EXPECT_EQ(runner.world().ship.getPosition(), Vec2(160.0, 100.0));
}

}  // namespace
}  // namespace kolvane::sim
