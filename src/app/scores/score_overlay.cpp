#include "app/scores/score_overlay.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

#include "app/text/utc_time.h"
#include "gfx/font.h"

namespace kolvane {

namespace {

constexpr std::string_view kTitle = "High scores";
// Spaces that make every line of the table the same width of black.
constexpr std::string_view kPadding = "                      ";
static_assert(kTitle.size() + kPadding.size() == ScoreOverlay::kRowLength);
// The message line's grey for the rows, the game's white for the title.
constexpr gfx::Color kRowColor = gfx::Color::fromColorref(0xAAAAAA);

// Writes value right-aligned (width > 0) or left-aligned (width < 0) in
// |width| characters at out, and returns the end. By hand rather than with
// snprintf, whose code would double the web page's share of this.
char* putNumber(char* out, long long value, int width) {
    std::array<char, 24> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const int length = ec == std::errc() ? static_cast<int>(end - digits.data()) : 0;
    const int room = width < 0 ? -width : width;
    int pad = room > length ? room - length : 0;
    if (width > 0) {
        for (; pad > 0; --pad) *out++ = ' ';
    }
    out = std::copy(digits.data(), digits.data() + length, out);
    for (; pad > 0; --pad) *out++ = ' ';
    return out;
}

char* putText(char* out, std::string_view text) {
    return std::copy(text.begin(), text.end(), out);
}

}  // namespace

void ScoreOverlay::setTable(const ScoreTable& table) {
    rowCount_ = 0;
    for (const ScoreEntry& e : table.entries) {
        if (rowCount_ == rows_.size()) break;
        UtcText date{};
        const std::string_view day = formatUtc(e.date, date).substr(0, 10);
        // " 1.    1250  level 2   2026-12-08": short rows padded with spaces,
        // long ones (a huge score) cut.
        std::array<char, 96> text{};
        char* end = putNumber(text.data(), static_cast<int>(rowCount_) + 1, 2);
        end = putText(end, ". ");
        end = putNumber(end, e.score, 7);
        end = putText(end, "  level ");
        end = putNumber(end, e.level, -2);
        end = putText(end, "  ");
        end = putText(end, day);
        Row& row = rows_[rowCount_];
        const std::size_t length =
            std::min(static_cast<std::size_t>(end - text.data()), row.size() - 1);
        std::copy(text.data(), text.data() + length, row.begin());
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
