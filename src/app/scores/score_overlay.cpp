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
constexpr std::string_view kMarkedTitle = "High scores        * world-verified";
constexpr std::string_view kWorldTitle = "World top ten";
static_assert(kMarkedTitle.size() == ScoreOverlay::kMarkedRowLength);
constexpr std::string_view kNoAnswer = "  no answer from the world table yet";
constexpr std::string_view kNoGames = "  no ranked games yet";
// The longest name the world table has.
constexpr std::size_t kNameLength = 20;
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

// A name in the font's characters: each character outside printable ASCII
// (a whole UTF-8 sequence) as one '?', at most kNameLength of them.
char* putName(char* out, std::string_view name) {
    std::size_t shown = 0;
    for (std::size_t i = 0; i < name.size() && shown < kNameLength; ++shown) {
        const auto byte = static_cast<unsigned char>(name[i++]);
        if (byte >= 0x20 && byte < 0x7F) {
            *out++ = static_cast<char>(byte);
            continue;
        }
        *out++ = '?';
        while (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) ++i;
    }
    return out;
}

// " 1.    1250  level 2   " with the rank, score and level.
char* putRankScoreLevel(char* out, long long rank, std::int32_t score, std::int32_t level) {
    out = putNumber(out, rank, 2);
    out = putText(out, ". ");
    out = putNumber(out, score, 7);
    out = putText(out, "  level ");
    out = putNumber(out, level, -2);
    return putText(out, "  ");
}

// The row's text, padded with spaces to length (or cut to it).
void setRow(std::array<char, ScoreOverlay::kWorldRowLength + 1>& row, const char* text,
            const char* end, std::size_t length) {
    const std::size_t n = std::min(static_cast<std::size_t>(end - text), length);
    std::copy(text, text + n, row.begin());
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(n),
              row.begin() + static_cast<std::ptrdiff_t>(length), ' ');
    row[length] = '\0';
}

}  // namespace

void ScoreOverlay::setTable(const ScoreTable& table, const std::vector<bool>* verified) {
    local_.title = verified != nullptr ? kMarkedTitle : kTitle;
    local_.length = verified != nullptr ? kMarkedRowLength : kRowLength;
    local_.count = 0;
    for (const ScoreEntry& e : table.entries) {
        if (local_.count == local_.rows.size()) break;
        UtcText date{};
        const std::string_view day = formatUtc(e.date, date).substr(0, 10);
        // " 1.    1250  level 2   2026-12-08": short rows padded with spaces,
        // long ones (a huge score) cut; the mark after them.
        std::array<char, 96> text{};
        char* end = putRankScoreLevel(text.data(), static_cast<long long>(local_.count) + 1,
                                      e.score, e.level);
        end = putText(end, day);
        Row& row = local_.rows[local_.count];
        setRow(row, text.data(), end, kRowLength);
        if (verified != nullptr) {
            const bool marked = local_.count < verified->size() && (*verified)[local_.count];
            setRow(row, row.data(), row.data() + kRowLength, kMarkedRowLength);
            row[kMarkedRowLength - 1] = marked ? '*' : ' ';
        }
        ++local_.count;
    }
}

void ScoreOverlay::setWorldTable(const std::vector<WorldRow>* rows) {
    world_.title = kWorldTitle;
    world_.length = kWorldRowLength;
    world_.count = 0;
    if (rows == nullptr || rows->empty()) {
        const std::string_view line = rows == nullptr ? kNoAnswer : kNoGames;
        setRow(world_.rows[0], line.data(), line.data() + line.size(), kWorldRowLength);
        world_.count = 1;
        return;
    }
    for (const WorldRow& entry : *rows) {
        if (world_.count == world_.rows.size()) break;
        std::array<char, 96> text{};
        char* end = putRankScoreLevel(text.data(), entry.rank, entry.score, entry.level);
        end = putName(end, entry.player);
        setRow(world_.rows[world_.count++], text.data(), end, kWorldRowLength);
    }
}

const gfx::Surface& ScoreOverlay::compose(const gfx::Surface& frame, OverlayTable which) {
    const Lines& lines = which == OverlayTable::kWorld ? world_ : local_;
    if (which == OverlayTable::kNone || lines.count == 0) return frame;
    copy_ = frame;  // same size as last time: the copy reuses its pixels
    draw(lines);
    return copy_;
}

void ScoreOverlay::draw(const Lines& lines) {
    const auto length = static_cast<std::int32_t>(lines.length);
    const int width = gfx::font::textWidth(length);
    const int left = copy_.width() - kMargin - width;
    int top = copy_.height() - kMargin - static_cast<int>(lines.count + 1) * gfx::font::kCellHeight;
    // On black, so that a rock passing behind doesn't hide the text; the
    // title's line padded with spaces to the rows' width.
    copy_.setBkMode(gfx::BkMode::kOpaque);
    copy_.setBkColor(gfx::kBlack);
    Row title{};
    setRow(title, lines.title.data(), lines.title.data() + lines.title.size(), lines.length);
    copy_.setTextColor(gfx::kWhite);
    copy_.textOut(left, top, title.data(), length);
    copy_.setTextColor(kRowColor);
    for (std::size_t i = 0; i < lines.count; ++i) {
        top += gfx::font::kCellHeight;
        copy_.textOut(left, top, lines.rows[i].data(), length);
    }
}

}  // namespace kolvane
