#include "app/storage/score_file.h"

#include <system_error>

#include "app/storage/file_lock.h"
#include "app/storage/text_file.h"
#include "core/atomic_file.h"

namespace kolvane {

namespace {

constexpr std::size_t kMaxBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxLine = 512;

}  // namespace

ScoreTable loadScoreTable(const std::filesystem::path& folder, std::FILE* errors) {
    if (folder.empty()) return ScoreTable{};
    const std::filesystem::path path = folder / kScoreFileName;
    std::string text;
    std::string error;
    ScoreTable table;
    switch (readTextFile(path, kMaxBytes, kMaxLine, text, error)) {
        case ReadOutcome::kMissing:
            return table;
        case ReadOutcome::kRefused:
            break;
        case ReadOutcome::kRead:
            // The table is written whole, with its heading: nothing at all is
            // what is left of a broken write or disk.
            if (text.empty()) {
                error = "\"" + path.string() + "\" is empty";
                break;
            }
            if (parseScoreTable(text, table, error)) return table;
            error = "\"" + path.string() + "\" " + error;
            break;
    }
    std::string aside;
    if (moveAside(path, aside)) aside = "moved aside to " + std::string(kScoreFileName) + ".bad";
    std::fprintf(errors, "kolvane: high-score table refused: %s; %s; starting a new one\n",
                 error.c_str(), aside.c_str());
    return ScoreTable{};
}

bool addScore(const std::filesystem::path& folder, const ScoreEntry& entry, ScoreTable& table,
              int& rank, std::FILE* errors, std::string& error) {
    const auto keepLocally = [&] { rank = insertScore(table, entry); };
    if (folder.empty()) {
        keepLocally();
        error = "no data folder";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    FileLock lock;
    if (ec || !lock.acquire((folder / kScoreLockName).string(), kScoreLockTimeoutMs, error)) {
        if (ec) error = "cannot make \"" + folder.string() + "\": " + ec.message();
        keepLocally();
        return false;
    }
    table = loadScoreTable(folder, errors);
    rank = insertScore(table, entry);
    if (rank == 0) return true;  // the table as it was
    if (!writeFileAtomically((folder / kScoreFileName).string(), formatScoreTable(table), error)) {
        error = "cannot write the high-score table " + error;
        return false;
    }
    return true;
}

}  // namespace kolvane
