#pragma once
// The high-score table over the title screen: drawn with the game's font in
// the bottom-right corner, which the title leaves empty, on a copy of the
// finished frame, so that the game's own frame never changes. The copy is
// kept for the whole run: showing the table allocates nothing per frame.
//
// With a world table (a leaderboard server) the local table marks the games
// the world table verified, and the world's top ten can be shown instead.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/scores/score_table.h"
#include "gfx/surface.h"

namespace kolvane {

// One entry of the world's table as the title screen shows it.
struct WorldRow {
    std::int64_t rank = 0;
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::string player;  // UTF-8: the font's ASCII, any other character as '?'
};

// Which table is drawn over the title.
enum class OverlayTable : std::uint8_t { kNone, kLocal, kWorld };

class ScoreOverlay {
public:
    // " 1.    1250  level 2   2026-12-08", and " *" for a verified game
    // when the table has the column for the marks.
    static constexpr std::size_t kRowLength = 33;
    static constexpr std::size_t kMarkedRowLength = kRowLength + 2;
    // " 1.    1250  level 2   " and a name of up to 20 characters.
    static constexpr std::size_t kWorldRowLength = 43;
    // Pixels between the table and the frame's edges.
    static constexpr int kMargin = 8;

    // The rows to draw (call when the table changes; this may allocate).
    // verified: null for no column of marks, else whether each entry is
    // marked as verified by the world table.
    void setTable(const ScoreTable& table, const std::vector<bool>* verified = nullptr);
    // The world's top ten; null before the server has answered.
    void setWorldTable(const std::vector<WorldRow>* rows);

    // The frame to show: the game's frame itself when no table is to be
    // shown (a game runs, or the local table has no score yet), else a copy
    // with the table.
    const gfx::Surface& compose(const gfx::Surface& frame, OverlayTable which);
    const gfx::Surface& compose(const gfx::Surface& frame, bool show) {
        return compose(frame, show ? OverlayTable::kLocal : OverlayTable::kNone);
    }

private:
    using Row = std::array<char, kWorldRowLength + 1>;
    // A title and its rows, each of the same length.
    struct Lines {
        std::string_view title;
        std::array<Row, kMaxScores> rows{};
        std::size_t count = 0;
        std::size_t length = kRowLength;
    };

    void draw(const Lines& lines);

    Lines local_;
    Lines world_;
    gfx::Surface copy_;
};

}  // namespace kolvane
