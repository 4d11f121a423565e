#include "app/network/verified_games.h"

#include <algorithm>
#include <array>

#include "app/scores/score_table.h"
#include "app/storage/text_file.h"
#include "app/text/text_line.h"
#include "app/text/whole_number.h"
#include "app/text/words.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace {

constexpr std::size_t kMaxFileBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxLineBytes = 256;

bool newerFirst(const VerifiedGameMark& a, const VerifiedGameMark& b) {
    return a.recording != b.recording ? a.recording > b.recording : a.endTick > b.endTick;
}

}  // namespace

std::vector<VerifiedGameMark> parseVerifiedGames(std::string_view text) {
    std::vector<VerifiedGameMark> games;
    while (!text.empty() && games.size() < kMaxVerifiedGames) {
        const std::string_view line = takeLine(text);
        if (line.empty() || line.front() == '#') continue;
        std::array<std::string_view, 3> words{};
        std::int64_t tick = 0;
        if (splitWords(line, words) != 2 || !isSafeRecordingName(words[0]) ||
            words[0] == kNoRecording || !parseWhole(words[1], tick)) {
            return {};
        }
        games.push_back({std::string(words[0]), tick});
    }
    return games;
}

std::string formatVerifiedGames(const std::vector<VerifiedGameMark>& games) {
    std::string text = "# Kolvane games the world table verified: recording end-tick\n";
    for (const VerifiedGameMark& game : games) {
        text += game.recording + " " + std::to_string(game.endTick) + "\n";
    }
    return text;
}

std::vector<VerifiedGameMark> loadVerifiedGames(const std::filesystem::path& file) {
    std::string text;
    std::string error;
    if (readTextFile(file, kMaxFileBytes, kMaxLineBytes, text, error) != ReadOutcome::kRead) {
        return {};
    }
    return parseVerifiedGames(text);
}

bool keepVerifiedGames(const std::filesystem::path& file,
                       const std::vector<VerifiedGameMark>& games, std::string& error) {
    std::vector<VerifiedGameMark> kept = loadVerifiedGames(file);
    for (const VerifiedGameMark& game : games) {
        if (std::find(kept.begin(), kept.end(), game) == kept.end()) kept.push_back(game);
    }
    std::sort(kept.begin(), kept.end(), newerFirst);
    if (kept.size() > kMaxVerifiedGames) kept.resize(kMaxVerifiedGames);
    return writeFileAtomically(file.string(), formatVerifiedGames(kept), error);
}

}  // namespace kolvane
