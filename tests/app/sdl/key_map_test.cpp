// SDL keys as the game's virtual-key codes: every key gets one.
#include "app/sdl/key_map.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/front_end/reserved_keys.h"
#include "core/keys.h"

namespace kolvane::sdl {
namespace {

int code(SDL_Keycode key, SDL_Scancode at = SDL_SCANCODE_UNKNOWN) {
    SDL_Keysym keysym{};
    keysym.sym = key;
    keysym.scancode = at;
    return virtualKeyOf(keysym);
}

TEST(KeyMap, GameKeysHaveTheirCodes) {
    EXPECT_EQ(code(SDLK_ESCAPE), vk::kEscape);
    EXPECT_EQ(code(SDLK_SPACE), vk::kSpace);
    EXPECT_EQ(code(SDLK_LEFT), vk::kLeft);
    EXPECT_EQ(code(SDLK_UP), vk::kUp);
    EXPECT_EQ(code(SDLK_RIGHT), vk::kRight);
    EXPECT_EQ(code(SDLK_DOWN), vk::kDown);
    EXPECT_EQ(code(SDLK_p), vk::kP);
    EXPECT_EQ(code(SDLK_s), vk::kS);
    EXPECT_EQ(code(SDLK_x), vk::kX);
    EXPECT_EQ(code(SDLK_F11), kF11Key);
    EXPECT_EQ(code(SDLK_KP_ENTER), kReturnKey);
}

TEST(KeyMap, LettersFollowTheLayoutAndElsePosition) {
    // A French layout's Q key gives 'a': the symbol counts.
    EXPECT_EQ(code(SDLK_a, SDL_SCANCODE_Q), 0x41);
    EXPECT_EQ(code(SDLK_9, SDL_SCANCODE_9), 0x39);
    // Cyrillic: the key at S gives U+044B, at X U+0447, at P U+0437; the
    // French digit row gives '&' at 1.
    EXPECT_EQ(code(0x44B, SDL_SCANCODE_S), vk::kS);
    EXPECT_EQ(code(0x447, SDL_SCANCODE_X), vk::kX);
    EXPECT_EQ(code(0x437, SDL_SCANCODE_P), vk::kP);
    EXPECT_EQ(code(SDLK_AMPERSAND, SDL_SCANCODE_1), 0x31);
    EXPECT_EQ(code(0x451, SDL_SCANCODE_0), 0x30);
}

TEST(KeyMap, KeysWithoutACodeGetTheNeutralOne) {
    EXPECT_EQ(code(SDLK_F13, SDL_SCANCODE_F13), kNeutralKey);
    EXPECT_EQ(code(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), kNeutralKey);
    EXPECT_EQ(code(SDLK_UNKNOWN), kNeutralKey);
    // A non-Latin letter on a key that is no letter key (German Ö).
    EXPECT_EQ(code(0xF6, SDL_SCANCODE_SEMICOLON), kNeutralKey);
}

}  // namespace
}  // namespace kolvane::sdl
