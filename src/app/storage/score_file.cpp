#include "app/storage/score_file.h"

#include <algorithm>
#include <system_error>

#include "app/storage/file_lock.h"
#include "app/storage/text_file.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxLine = 512;
constexpr std::string_view kWaitingExtension = ".txt";

// A waiting file's games; nothing when it is not a table.
bool readWaitingFile(const fs::path& path, ScoreTable& games) {
    std::string text;
    std::string error;
    return readTextFile(path, kMaxBytes, kMaxLine, text, error) == ReadOutcome::kRead &&
           parseScoreTable(text, games, error);
}

// The waiting files there are now, and their games.
std::vector<fs::path> waitingFiles(const fs::path& folder, std::vector<ScoreEntry>& games) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder / kWaitingScoresFolderName, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->path().extension() != kWaitingExtension) continue;  // temporaries too
        ScoreTable waiting;
        if (!readWaitingFile(it->path(), waiting)) continue;
        games.insert(games.end(), waiting.entries.begin(), waiting.entries.end());
        files.push_back(it->path());
    }
    return files;
}

// Puts each game in once: one equal to a game of the table is already in.
bool insertAll(ScoreTable& table, std::span<const ScoreEntry> games) {
    bool changed = false;
    for (const ScoreEntry& game : games) {
        if (std::find(table.entries.begin(), table.entries.end(), game) != table.entries.end()) {
            continue;
        }
        changed = insertScore(table, game) > 0 || changed;
    }
    return changed;
}

}  // namespace

TableRead readScoreTable(const fs::path& folder, std::FILE* errors) {
    TableRead read;
    if (folder.empty()) return read;
    const fs::path path = folder / kScoreFileName;
    std::string text;
    std::string error;
    switch (readTextFile(path, kMaxBytes, kMaxLine, text, error)) {
        case ReadOutcome::kMissing:
            return read;
        case ReadOutcome::kRefused:
            break;
        case ReadOutcome::kRead:
            // The table is written whole, with its heading: nothing at all is
            // what is left of a broken write or disk.
            if (text.empty()) {
                error = "\"" + path.string() + "\" is empty";
                break;
            }
            if (parseScoreTable(text, read.table, error)) {
                read.state = TableState::kRead;
                return read;
            }
            error = "\"" + path.string() + "\" " + error;
            break;
    }
    std::string aside;
    if (moveAside(path, aside)) aside = "moved aside to " + std::string(kScoreFileName) + ".bad";
    std::fprintf(errors, "kolvane: high-score table refused: %s; %s; starting a new one\n",
                 error.c_str(), aside.c_str());
    read.table = ScoreTable{};
    read.state = TableState::kSetAside;
    return read;
}

std::string setAsideTableText(const fs::path& folder) {
    std::string text;
    if (folder.empty()) return text;
    std::FILE* file =
        std::fopen((folder / (std::string(kScoreFileName) + ".bad")).string().c_str(), "rb");
    if (file == nullptr) return text;
    text.resize(kMaxBytes);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

ScoresAdded addScores(const fs::path& folder, std::span<const ScoreEntry> games, int lockTimeoutMs,
                      ScoreTable& table, std::FILE* errors, std::string& error) {
    if (folder.empty()) {
        insertAll(table, games);
        error = "no data folder";
        return ScoresAdded::kFailed;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        insertAll(table, games);
        error = "cannot make \"" + folder.string() + "\": " + ec.message();
        return ScoresAdded::kFailed;
    }
    FileLock lock;
    if (!lock.acquire((folder / kScoreLockName).string(), lockTimeoutMs, error)) {
        insertAll(table, games);
        return ScoresAdded::kLockBusy;
    }
    table = readScoreTable(folder, errors).table;
    std::vector<ScoreEntry> waiting;
    const std::vector<fs::path> landed = waitingFiles(folder, waiting);
    const bool changed = insertAll(table, waiting);
    if ((insertAll(table, games) || changed) &&
        !writeFileAtomically((folder / kScoreFileName).string(), formatScoreTable(table), error)) {
        error = "cannot write the high-score table " + error;
        return ScoresAdded::kFailed;
    }
    for (const fs::path& file : landed) fs::remove(file, ec);
    return ScoresAdded::kAdded;
}

bool keepWaitingScores(const fs::path& folder, std::string_view name,
                       std::span<const ScoreEntry> games, std::string& error) {
    const fs::path waiting = folder / kWaitingScoresFolderName;
    std::error_code ec;
    fs::create_directories(waiting, ec);
    if (ec) {
        error = "cannot make \"" + waiting.string() + "\": " + ec.message();
        return false;
    }
    ScoreTable table;
    table.entries.assign(games.begin(), games.end());
    return writeFileAtomically(
        (waiting / (std::string(name) + std::string(kWaitingExtension))).string(),
        formatScoreTable(table), error);
}

std::vector<ScoreEntry> waitingScores(const fs::path& folder) {
    std::vector<ScoreEntry> games;
    waitingFiles(folder, games);
    return games;
}

}  // namespace kolvane
