#pragma once
// The high-score table over the title screen: drawn with the game's font in
// the bottom-right corner, which the title leaves empty, on a copy of the
// finished frame, so that the game's own frame never changes. The copy is
// kept for the whole run: showing the table allocates nothing per frame.
#include <cstddef>

#include "app/scores/score_table.h"
#include "app/scores/title_table.h"
#include "gfx/surface.h"

namespace kolvane {

class ScoreOverlay {
public:
    // " 1.    1250  level 2   2026-12-08"
    static constexpr std::size_t kRowLength = 33;

    // The rows to draw (call when the table changes; this may allocate).
    void setTable(const ScoreTable& table);

    // The frame to show: the game's frame itself when the table is not to be
    // shown (a game runs, or there is no score yet), else a copy with the table.
    const gfx::Surface& compose(const gfx::Surface& frame, bool show);

private:
    TitleTable table_;
    gfx::Surface copy_;
};

}  // namespace kolvane
