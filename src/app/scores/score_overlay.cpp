#include "app/scores/score_overlay.h"

#include <array>
#include <string_view>

namespace kolvane {

void ScoreOverlay::setTable(const ScoreTable& table) {
    table_.clear("High scores", kRowLength);
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        // " 1.    1250  level 2   2026-12-08": short rows padded with spaces,
        // long ones (a huge score) cut.
        std::array<char, 96> text{};
        const char* end =
            putScoreRow(text.data(), static_cast<std::int64_t>(i) + 1, table.entries[i]);
        table_.addRow(std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
    }
}

const gfx::Surface& ScoreOverlay::compose(const gfx::Surface& frame, bool show) {
    if (!show || table_.rows() == 0) return frame;
    copy_ = frame;  // same size as last time: the copy reuses its pixels
    table_.draw(copy_);
    return copy_;
}

}  // namespace kolvane
