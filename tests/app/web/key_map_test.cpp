#include <gtest/gtest.h>

#include "app/web/key_map.h"
#include "core/keys.h"

namespace kolvane::web {
namespace {

TEST(WebKeyMap, GameKeysByTheirNames) {
    EXPECT_EQ(virtualKeyFromEvent(" ", "Space"), vk::kSpace);
    EXPECT_EQ(virtualKeyFromEvent("Escape", "Escape"), vk::kEscape);
    EXPECT_EQ(virtualKeyFromEvent("ArrowLeft", "ArrowLeft"), vk::kLeft);
    EXPECT_EQ(virtualKeyFromEvent("ArrowUp", "ArrowUp"), vk::kUp);
    EXPECT_EQ(virtualKeyFromEvent("ArrowRight", "ArrowRight"), vk::kRight);
    EXPECT_EQ(virtualKeyFromEvent("ArrowDown", "ArrowDown"), vk::kDown);
}

TEST(WebKeyMap, OlderBrowsersNames) {
    EXPECT_EQ(virtualKeyFromEvent("Spacebar", ""), vk::kSpace);
    EXPECT_EQ(virtualKeyFromEvent("Esc", ""), vk::kEscape);
    EXPECT_EQ(virtualKeyFromEvent("Left", ""), vk::kLeft);
    EXPECT_EQ(virtualKeyFromEvent("Down", ""), vk::kDown);
}

TEST(WebKeyMap, LettersInEitherCaseAreTheUpperCaseCode) {
    EXPECT_EQ(virtualKeyFromEvent("s", "KeyS"), vk::kS);
    EXPECT_EQ(virtualKeyFromEvent("S", "KeyS"), vk::kS);
    EXPECT_EQ(virtualKeyFromEvent("p", "KeyP"), vk::kP);
    EXPECT_EQ(virtualKeyFromEvent("x", "KeyX"), vk::kX);
    EXPECT_EQ(virtualKeyFromEvent("7", "Digit7"), '7');
}

TEST(WebKeyMap, LettersFollowTheLayoutNotThePosition) {
    // On AZERTY the key labelled A sits where QWERTY has Q.
    EXPECT_EQ(virtualKeyFromEvent("a", "KeyQ"), 'A');
    // On Dvorak, S is where QWERTY has ';'.
    EXPECT_EQ(virtualKeyFromEvent("s", "Semicolon"), vk::kS);
}

TEST(WebKeyMap, NonLatinLettersFallBackToThePosition) {
    EXPECT_EQ(virtualKeyFromEvent("\xD1\x8B", "KeyS"), vk::kS);  // Cyrillic "ы"
    EXPECT_EQ(virtualKeyFromEvent("Dead", "KeyP"), vk::kP);
    EXPECT_EQ(virtualKeyFromEvent("\xC3\xA9", "Digit2"), '2');  // "é" on AZERTY
}

TEST(WebKeyMap, KeysLeftToTheBrowser) {
    EXPECT_EQ(virtualKeyFromEvent("Tab", "Tab"), 0);
    EXPECT_EQ(virtualKeyFromEvent("F5", "F5"), 0);
    EXPECT_EQ(virtualKeyFromEvent("Shift", "ShiftLeft"), 0);
    EXPECT_EQ(virtualKeyFromEvent(";", "Semicolon"), 0);
    EXPECT_EQ(virtualKeyFromEvent("", ""), 0);
    EXPECT_EQ(virtualKeyFromEvent(nullptr, nullptr), 0);
    // A punctuation character is not a letter even on a letter key.
    EXPECT_EQ(virtualKeyFromEvent(",", "KeyM"), 0);
}

TEST(WebKeyMap, EnterAndBackspaceReachTheGame) {
    EXPECT_EQ(virtualKeyFromEvent("Enter", "Enter"), 0x0D);
    EXPECT_EQ(virtualKeyFromEvent("Backspace", "Backspace"), 0x08);
}

}  // namespace
}  // namespace kolvane::web
