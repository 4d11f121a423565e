#include "app/score_overlay.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/utc_time.h"
#include "gfx/font.h"

namespace kolvane {

namespace {

constexpr std::string_view kTitle = "High scores";
// Spaces that make every line of the table the same width of black.
constexpr std::string_view kPadding = "                      ";
static_assert(kTitle.size() + kPadding.size() == ScoreOverlay::kRowLength);
// The message line's grey for the rows, the game's white for the title.
constexpr gfx::Color kRowColor = gfx::Color::fromColorref(0xAAAAAA);

}  // namespace

void ScoreOverlay::setTable(const ScoreTable& table) {
    rowCount_ = 0;
    for (const ScoreEntry& e : table.entries) {
        if (rowCount_ == rows_.size()) break;
        UtcText date{};
        const std::string_view day = formatUtc(e.date, date).substr(0, 10);
        Row& row = rows_[rowCount_];
        std::snprintf(row.data(), row.size(), "%2d. %7d  level %-2d  %.*s",
                      static_cast<int>(rowCount_) + 1, static_cast<int>(e.score),
                      static_cast<int>(e.level), static_cast<int>(day.size()), day.data());
        // Short rows padded with spaces, long ones (a huge score) cut.
        const std::size_t length = std::strlen(row.data());
        std::fill(row.begin() + static_cast<std::ptrdiff_t>(length), row.end() - 1, ' ');
        row.back() = '\0';
        ++rowCount_;
    }
}

const gfx::Surface& ScoreOverlay::compose(const gfx::Surface& frame, bool show) {
    if (!show || rowCount_ == 0) return frame;
    copy_ = frame;  // same size as last time: the copy reuses its pixels
    constexpr int kWidth = gfx::font::textWidth(static_cast<std::int32_t>(kRowLength));
    const int lines = static_cast<int>(rowCount_) + 1;
    const int left = frame.width() - kMargin - kWidth;
    int top = frame.height() - kMargin - lines * gfx::font::kCellHeight;
    // On black, so that a rock passing behind doesn't hide the text.
    copy_.setBkMode(gfx::BkMode::kOpaque);
    copy_.setBkColor(gfx::kBlack);
    copy_.setTextColor(gfx::kWhite);
    copy_.textOut(left, top, kTitle.data(), static_cast<std::int32_t>(kTitle.size()));
    copy_.textOut(left + gfx::font::textWidth(static_cast<std::int32_t>(kTitle.size())), top,
                  kPadding.data(), static_cast<std::int32_t>(kPadding.size()));
    copy_.setTextColor(kRowColor);
    for (std::size_t i = 0; i < rowCount_; ++i) {
        top += gfx::font::kCellHeight;
        copy_.textOut(left, top, rows_[i].data(), static_cast<std::int32_t>(kRowLength));
    }
    return copy_;
}

}  // namespace kolvane
