// The session every front end runs and the runner's game in process: the
// clock the generator reads, message boxes, held keys and the key-down flags.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "app/sim/runner.h"
#include "core/random.h"
#include "game/game_world.h"

namespace kolvane::sim {
namespace {

TEST(Session, ClockGainsOneSecondPerWholeThousandMilliseconds) {
    GameWorld world;
    Session s(world, SessionStart{1000, 1, Rect{0, 0, 64, 48}});
    s.start();
    EXPECT_EQ(s.timeSeconds(), 1000);
    for (int i = 0; i < 66; ++i) s.tick();  // 990 ms
    EXPECT_EQ(s.timeSeconds(), 1000);
    s.tick();  // 1005 ms
    EXPECT_EQ(s.timeSeconds(), 1001);
    for (int i = 67; i < 1000; ++i) s.tick();  // 15 s exactly
    EXPECT_EQ(s.timeSeconds(), 1015);
}

TEST(Session, ClockWrapsLikeA32BitCounter) {
    GameWorld world;
    Session s(world, SessionStart{std::numeric_limits<std::int32_t>::max(), 1, Rect{}});
    s.start();
    for (int i = 0; i < 67; ++i) s.tick();
    EXPECT_EQ(s.timeSeconds(), std::numeric_limits<std::int32_t>::min());
}

TEST(Session, LosingTheKeyboardReleasesEachHeldKeyAsAKeyUp) {
    struct Ups final : SessionListener {
        void keyUp(const Session&, int key) override { keys += std::to_string(key) + " "; }
        std::string keys;
    } ups;
    GameWorld world;
    Session s(world, SessionStart{});
    s.addListener(ups);
    s.keyDown(KeyEvent{vk::kLeft, false});
    s.keyDown(KeyEvent{vk::kUp, false});
    KeyboardState keys{};
    s.readKeyboard(keys);
    EXPECT_EQ(keys[vk::kLeft], 0x80);
    s.releaseAllKeys();
    s.readKeyboard(keys);
    EXPECT_EQ(keys[vk::kLeft], 0);
    EXPECT_EQ(ups.keys, "37 38 ");
}

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
