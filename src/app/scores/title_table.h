#pragma once
// A table of text over the title screen: a title line and up to kMaxScores
// rows, all as wide, drawn with the game's font on black in the bottom-right
// corner of a frame, which the title leaves empty. The rows are kept in
// place: drawing allocates nothing. The high-score table (score_overlay.h)
// and the world table's (world_overlay.h) are such tables.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/scores/score_table.h"
#include "gfx/surface.h"

namespace kolvane {

class TitleTable {
public:
    // The widest row, in characters.
    static constexpr std::size_t kMaxLength = 43;
    // Pixels between the table and the frame's edges.
    static constexpr int kMargin = 8;

    // No rows, the title and the rows' length (at most kMaxLength) given.
    void clear(std::string_view title, std::size_t length);
    // A row more (up to kMaxScores): text padded with spaces, or cut.
    void addRow(std::string_view text);
    std::size_t rows() const { return count_; }

    // Draws the title and the rows on surface.
    void draw(gfx::Surface& surface) const;

private:
    using Line = std::array<char, kMaxLength + 1>;
    static void setLine(Line& line, std::string_view text, std::size_t length);

    Line title_{};
    std::array<Line, kMaxScores> lines_{};
    std::size_t count_ = 0;
    std::size_t length_ = 0;
};

// The text of a high-score row, " 1.    1250  level 2   2026-12-08", at out;
// returns its end. out has room for 64 characters.
char* putScoreRow(char* out, std::int64_t rank, const ScoreEntry& entry);
// " 1.    1250  level 2   " at out; returns its end.
char* putRankScoreLevel(char* out, std::int64_t rank, std::int32_t score, std::int32_t level);

}  // namespace kolvane
