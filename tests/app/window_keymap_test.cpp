// SDL keys as the game's virtual-key codes, for key-downs and for held keys.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/sdl/keymap.h"

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

TEST(KeyMap, RepeatSetsBit30Only) {
    EXPECT_EQ(keyDataFor(false) & kKeyRepeatBit, 0);
    EXPECT_EQ(keyDataFor(true) & kKeyRepeatBit, kKeyRepeatBit);
    EXPECT_EQ(keyDataFor(true) & ~kKeyRepeatBit, keyDataFor(false));
}

// The held state goes through SDL's scancode-to-key table, which SDL fills
// when its video subsystem starts; the dummy driver needs no display.
class HeldKeys : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    KeyboardState read() {
        KeyboardState keys;
        keys.fill(0x55);  // stale contents must not survive
        readHeldKeys(state, SDL_NUM_SCANCODES, keys);
        return keys;
    }

    Uint8 state[SDL_NUM_SCANCODES] = {};
};

TEST_F(HeldKeys, NothingPressedReadsAllZero) {
    const KeyboardState keys = read();
    for (int vk = 0; vk < 256; ++vk) EXPECT_EQ(keys[vk], 0) << vk;
}

TEST_F(HeldKeys, ArrowsAndSpaceReadAsHeld) {
    state[SDL_SCANCODE_UP] = 1;
    state[SDL_SCANCODE_LEFT] = 1;
    state[SDL_SCANCODE_SPACE] = 1;
    const KeyboardState keys = read();
    EXPECT_EQ(keys[vk::kUp], 0x80);
    EXPECT_EQ(keys[vk::kLeft], 0x80);
    EXPECT_EQ(keys[vk::kSpace], 0x80);
    EXPECT_EQ(keys[vk::kRight], 0);
    EXPECT_EQ(keys[vk::kDown], 0);
}

TEST_F(HeldKeys, ModifierSetsSharedAndSidedCodes) {
    state[SDL_SCANCODE_RSHIFT] = 1;
    const KeyboardState keys = read();
    EXPECT_EQ(keys[0x10], 0x80);
    EXPECT_EQ(keys[0xA1], 0x80);
    EXPECT_EQ(keys[0xA0], 0);
}

TEST_F(HeldKeys, LetterReadsAsItsCode) {
    state[SDL_SCANCODE_S] = 1;
    EXPECT_EQ(read()[vk::kS], 0x80);
}

}  // namespace
}  // namespace kolvane::sdl
