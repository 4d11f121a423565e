#include "app/scores/world_overlay.h"

#include <array>
#include <string_view>

namespace kolvane {

namespace {

// The longest name the world table has.
constexpr std::size_t kNameLength = 20;

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

std::string_view textOf(const std::array<char, 96>& text, const char* end) {
    return {text.data(), static_cast<std::size_t>(end - text.data())};
}

}  // namespace

void WorldOverlay::setTable(const ScoreTable& table, const std::vector<bool>& verified) {
    local_.clear("High scores        * world-verified", kMarkedRowLength);
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        std::array<char, 96> text{};
        char* end = putScoreRow(text.data(), static_cast<std::int64_t>(i) + 1, table.entries[i]);
        *end++ = ' ';
        *end++ = i < verified.size() && verified[i] ? '*' : ' ';
        local_.addRow(textOf(text, end));
    }
}

void WorldOverlay::setWorldTable(const std::vector<WorldRow>* rows) {
    world_.clear("World top ten", kWorldRowLength);
    if (rows == nullptr) {
        world_.addRow("  no answer from the world table yet");
    } else if (rows->empty()) {
        world_.addRow("  no ranked games yet");
    } else {
        for (const WorldRow& row : *rows) {
            std::array<char, 96> text{};
            char* end = putRankScoreLevel(text.data(), row.rank, row.score, row.level);
            world_.addRow(textOf(text, putName(end, row.player)));
        }
    }
}

const gfx::Surface& WorldOverlay::compose(const gfx::Surface& frame, bool world) {
    const TitleTable& table = world ? world_ : local_;
    if (table.rows() == 0) return frame;
    copy_ = frame;  // same size as last time: the copy reuses its pixels
    table.draw(copy_);
    return copy_;
}

}  // namespace kolvane
