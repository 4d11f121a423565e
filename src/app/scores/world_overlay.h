#pragma once
// The title screen's tables with a world table (a leaderboard server), drawn
// on a copy of the finished frame as the high-score table is
// (score_overlay.h): the local table with a column that marks the games the
// world verified, or the world's top ten in its place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/scores/score_table.h"
#include "app/scores/title_table.h"
#include "gfx/surface.h"

namespace kolvane {

// One entry of the world's table as the title screen shows it.
struct WorldRow {
    std::int64_t rank = 0;
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::string player;  // UTF-8: the font's ASCII, any other character as '?'
};

class WorldOverlay {
public:
    // " 1.    1250  level 2   2026-12-08 *": a high-score row and its mark.
    static constexpr std::size_t kMarkedRowLength = 35;
    // " 1.    1250  level 2   " and a name of up to 20 characters.
    static constexpr std::size_t kWorldRowLength = 43;

    // The local table; verified says which of its entries the world verified.
    void setTable(const ScoreTable& table, const std::vector<bool>& verified);
    // The world's top ten; null before the server has answered.
    void setWorldTable(const std::vector<WorldRow>* rows);

    // A copy of the frame with the world's table (world) or the local one,
    // or the frame itself when the local table has no score yet.
    const gfx::Surface& compose(const gfx::Surface& frame, bool world);

private:
    TitleTable local_;
    TitleTable world_;
    gfx::Surface copy_;
};

}  // namespace kolvane
