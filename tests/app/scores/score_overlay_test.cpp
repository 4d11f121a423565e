// The high-score table over the title screen: drawn on a copy in the
// bottom-right corner, never on the game's frame, and only when asked.
#include "app/scores/score_overlay.h"

#include <gtest/gtest.h>

#include "app/scores/world_overlay.h"

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

// With a world table: the local rows two columns wider for the marks, the
// world's rows wider still for the names; a name outside the font's ASCII
// takes one column a character.
TEST(WorldOverlay, MarksVerifiedGamesAndShowsTheWorldsTable) {
    const gfx::Surface frame(740, 580);
    WorldOverlay overlay;
    ScoreTable table;
    insertScore(table, ScoreEntry{1250, 2, 1765000000, 95, "-", 5432});
    overlay.setTable(table, {true});
    const std::vector<WorldRow> world{{1, 5800, 21, "Ana"}, {2, 1250, 2, "Åsa\u200b"}};
    overlay.setWorldTable(&world);

    const auto leftmostLit = [&](const gfx::Surface& shown) {
        for (int x = 0; x < 740; ++x) {
            for (int y = 500; y < 580; ++y) {
                if (shown.pixel(x, y) != frame.pixel(x, y)) return x;
            }
        }
        return 740;
    };
    const int local = leftmostLit(overlay.compose(frame, false));
    const int worldLeft = leftmostLit(overlay.compose(frame, true));
    EXPECT_GT(local, 740 - 8 - 35 * 6 - 1);
    EXPECT_LT(local, 740 - 8 - 33 * 6) << "wider than without marks";
    EXPECT_GT(worldLeft, 740 - 8 - 43 * 6 - 1);
    EXPECT_LT(worldLeft, local);

    // Nothing from the server yet: the world's table says so.
    overlay.setWorldTable(nullptr);
    EXPECT_NE(&overlay.compose(frame, true), &frame);
}

}  // namespace
}  // namespace kolvane
