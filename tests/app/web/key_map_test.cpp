#include "app/web/key_map.h"

#include <gtest/gtest.h>

#include "app/front_end/reserved_keys.h"
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

TEST(WebKeyMap, EveryOtherKeyHasACode) {
    EXPECT_EQ(virtualKeyFromEvent("Tab", "Tab"), 0x09);
    EXPECT_EQ(virtualKeyFromEvent("Shift", "ShiftLeft"), 0x10);
    EXPECT_EQ(virtualKeyFromEvent("Control", "ControlRight"), 0x11);
    EXPECT_EQ(virtualKeyFromEvent("Meta", "MetaLeft"), 0x5B);
    EXPECT_EQ(virtualKeyFromEvent("Home", "Home"), 0x24);
    EXPECT_EQ(virtualKeyFromEvent("End", "End"), 0x23);
    EXPECT_EQ(virtualKeyFromEvent("F1", "F1"), 0x70);
    EXPECT_EQ(virtualKeyFromEvent("F12", "F12"), 0x7B);
    EXPECT_EQ(virtualKeyFromEvent(";", "Semicolon"), 0xBA);
    EXPECT_EQ(virtualKeyFromEvent("!", "Digit1"), '1');
    // AZERTY's comma sits where QWERTY has M: it is the comma, not M.
    EXPECT_EQ(virtualKeyFromEvent(",", "KeyM"), 0xBC);
    // Keys without a code of their own: the neutral one.
    EXPECT_EQ(virtualKeyFromEvent("F13", "F13"), kNeutralKey);
    EXPECT_EQ(virtualKeyFromEvent("AudioVolumeUp", "AudioVolumeUp"), kNeutralKey);
    EXPECT_EQ(virtualKeyFromEvent("\xC2\xA7", "IntlBackslash"), kNeutralKey);  // "§"
    EXPECT_EQ(virtualKeyFromEvent("", ""), kNeutralKey);
    EXPECT_EQ(virtualKeyFromEvent(nullptr, nullptr), kNeutralKey);
}

TEST(WebKeyMap, OnlyKeysThatMoveThePageAreKeptFromItWithModifiers) {
    EXPECT_TRUE(movesThePage(vk::kUp));
    EXPECT_TRUE(movesThePage(vk::kSpace));
    EXPECT_TRUE(movesThePage(0x09));
    EXPECT_FALSE(movesThePage(vk::kS));
    EXPECT_FALSE(movesThePage(0x74));  // F5 still reloads
}

TEST(WebKeyMap, EnterAndBackspaceReachTheGame) {
    EXPECT_EQ(virtualKeyFromEvent("Enter", "Enter"), 0x0D);
    EXPECT_EQ(virtualKeyFromEvent("Backspace", "Backspace"), 0x08);
}

}  // namespace
}  // namespace kolvane::web
