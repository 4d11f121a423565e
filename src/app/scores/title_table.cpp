#include "app/scores/title_table.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "app/text/utc_time.h"
#include "gfx/font.h"

namespace kolvane {

namespace {

// The message line's grey for the rows, the game's white for the title.
constexpr gfx::Color kRowColor = gfx::Color::fromColorref(0xAAAAAA);

// Writes value right-aligned (width > 0) or left-aligned (width < 0) in
// |width| characters at out, and returns the end. By hand rather than with
// snprintf, whose code would double the web page's share of this.
char* putNumber(char* out, std::int64_t value, int width) {
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

void TitleTable::setLine(Line& line, std::string_view text, std::size_t length) {
    const std::size_t n = std::min(text.size(), length);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), line.begin());
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(n),
              line.begin() + static_cast<std::ptrdiff_t>(length), ' ');
    line[length] = '\0';
}

void TitleTable::clear(std::string_view title, std::size_t length) {
    length_ = std::min(length, kMaxLength);
    count_ = 0;
    setLine(title_, title, length_);
}

void TitleTable::addRow(std::string_view text) {
    if (count_ < lines_.size()) setLine(lines_[count_++], text, length_);
}

void TitleTable::draw(gfx::Surface& surface) const {
    const auto length = static_cast<std::int32_t>(length_);
    const int left = surface.width() - kMargin - gfx::font::textWidth(length);
    int top = surface.height() - kMargin - static_cast<int>(count_ + 1) * gfx::font::kCellHeight;
    // On black, so that a rock passing behind doesn't hide the text.
    surface.setBkMode(gfx::BkMode::kOpaque);
    surface.setBkColor(gfx::kBlack);
    surface.setTextColor(gfx::kWhite);
    surface.textOut(left, top, title_.data(), length);
    surface.setTextColor(kRowColor);
    for (std::size_t i = 0; i < count_; ++i) {
        top += gfx::font::kCellHeight;
        surface.textOut(left, top, lines_[i].data(), length);
    }
}

char* putRankScoreLevel(char* out, std::int64_t rank, std::int32_t score, std::int32_t level) {
    out = putNumber(out, rank, 2);
    out = putText(out, ". ");
    out = putNumber(out, score, 7);
    out = putText(out, "  level ");
    out = putNumber(out, level, -2);
    return putText(out, "  ");
}

char* putScoreRow(char* out, std::int64_t rank, const ScoreEntry& entry) {
    UtcText date{};
    out = putRankScoreLevel(out, rank, entry.score, entry.level);
    return putText(out, formatUtc(entry.date, date).substr(0, 10));
}

}  // namespace kolvane
