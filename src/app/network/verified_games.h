#pragma once
// The games of this player's recordings that the world table has verified,
// kept in the data folder (world-verified.txt) so that a restart still marks
// them on the title screen. One game a line, by the recording's file name
// and the tick it ended at, as the high-score table names a game:
//
//     # Kolvane games the world table verified: recording end-tick
//     2026-12-08_20-20-30_4711.kolvane 5432
//
// Only the newest kMaxVerifiedGames are kept (recording names start with
// their date). A file that is not in this form is read as empty and
// written anew.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

inline constexpr const char* kVerifiedGamesFileName = "world-verified.txt";
inline constexpr std::size_t kMaxVerifiedGames = 200;

struct VerifiedGameMark {
    std::string recording;  // the recording's file name
    std::int64_t endTick = 0;
    friend bool operator==(const VerifiedGameMark&, const VerifiedGameMark&) = default;
};

std::vector<VerifiedGameMark> parseVerifiedGames(std::string_view text);
std::string formatVerifiedGames(const std::vector<VerifiedGameMark>& games);

// The games kept in file; empty when there is none or it can't be read.
std::vector<VerifiedGameMark> loadVerifiedGames(const std::filesystem::path& file);
// Adds games to those kept in file (each once, the newest kMaxVerifiedGames);
// false with error set when the file can't be written.
bool keepVerifiedGames(const std::filesystem::path& file,
                       const std::vector<VerifiedGameMark>& games, std::string& error);

}  // namespace kolvane
