// The high-score table over the title screen: drawn on a copy in the
// bottom-right corner, never on the game's frame, and only when asked.
#include "app/scores/score_overlay.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

int changedPixels(const gfx::Surface& a, const gfx::Surface& b, const Rect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

TEST(ScoreOverlay, DrawsOnACopyInTheBottomRightCorner) {
    gfx::Surface frame(740, 580);
    frame.setPixel(700, 560, gfx::kWhite);  // something of the game's under the table
    const gfx::Surface original = frame;
    ScoreOverlay overlay;
    EXPECT_EQ(&overlay.compose(frame, true), &frame) << "no scores yet: the frame itself";

    ScoreTable table;
    insertScore(table, ScoreEntry{1250, 2, 1765000000, 95, "-", 5432});
    insertScore(table, ScoreEntry{75, 1, 1765000000, 9, "-", 99});
    overlay.setTable(table);
    EXPECT_EQ(&overlay.compose(frame, false), &frame) << "a game runs: the frame itself";
    const gfx::Surface& shown = overlay.compose(frame, true);
    ASSERT_NE(&shown, &frame);
    EXPECT_EQ(changedPixels(frame, original, Rect{0, 0, 740, 580}), 0) << "the game's frame";

    // Three lines of text, 33 characters wide, 8 pixels from the edges.
    const Rect corner{740 - 8 - 33 * 6, 580 - 8 - 3 * 12, 740 - 8, 580 - 8};
    EXPECT_GT(changedPixels(shown, frame, corner), 300);
    EXPECT_EQ(changedPixels(shown, frame, Rect{0, 0, 740, 580}),
              changedPixels(shown, frame, corner))
        << "nothing outside the corner";
    EXPECT_EQ(shown.pixel(700, 560), gfx::kBlack) << "the table stands on black";
}

}  // namespace
}  // namespace kolvane
