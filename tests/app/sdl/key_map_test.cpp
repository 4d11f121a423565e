// SDL keys as the game's virtual-key codes.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/sdl/key_map.h"
#include "core/keys.h"

namespace kolvane::sdl {
namespace {

TEST(KeyMap, GameKeysHaveTheirCodes) {
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_ESCAPE), vk::kEscape);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_SPACE), vk::kSpace);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_LEFT), vk::kLeft);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_UP), vk::kUp);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_RIGHT), vk::kRight);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_DOWN), vk::kDown);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_p), vk::kP);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_s), vk::kS);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_x), vk::kX);
}

TEST(KeyMap, LettersAndDigitsSpanTheirRanges) {
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_a), 0x41);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_z), 0x5A);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_0), 0x30);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_9), 0x39);
}

TEST(KeyMap, BothShiftKeysGiveTheSharedCode) {
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_LSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_RSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_KP_ENTER), 0x0D);
}

TEST(KeyMap, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromKeycode(SDLK_AUDIOPLAY), 0);
    EXPECT_EQ(virtualKeyFromKeycode('A'), 0);  // SDL's letter symbols are lower case
}

}  // namespace
}  // namespace kolvane::sdl
