// The session every front end runs: the clock the generator reads and the
// held keys.
#include "app/session/session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "game/game_world.h"

namespace kolvane {
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
}  // namespace
}  // namespace kolvane
