#include "fuzz/submission_fuzz.h"

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "server/leaderboard.h"
#include "server/sqlite_store.h"

namespace kolvane::fuzz {

namespace {

using namespace kolvane::server;

// One leaderboard for the process, over a database in a fresh folder.
struct Fixture {
    Fixture() {
        folder = std::filesystem::temp_directory_path() /
                 ("kolvane-submission-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::string error;
        store = openSqliteStore((folder / "leaderboard.sqlite").string(), 1, error);
        LeaderboardSettings settings;
        settings.submitsPerMinute = 0;
        settings.ticketsPerMinute = 0;
        leaderboard = std::make_unique<Leaderboard>(
            *store, metrics, [] { return std::int64_t{1800000000000}; }, settings);
        leaderboard->start(error);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
    std::unique_ptr<Store> store;
    Metrics metrics;
    std::unique_ptr<Leaderboard> leaderboard;
};

std::string_view takeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

}  // namespace

bool submitInput(const std::uint8_t* data, std::size_t size, std::string& problem) {
    static Fixture fixture;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view player = takeLine(rest);
    const std::string_view authorization = takeLine(rest);
    const Reply reply = fixture.leaderboard->submit("127.0.0.1", player, authorization, rest);
    const nlohmann::json answer = nlohmann::json::parse(reply.body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) {
        problem = "an answer that is not a JSON object: " + reply.body;
        return false;
    }
    switch (reply.status) {
        case 200:
        case 202: {
            const std::string id = answer.value("id", "");
            const Reply file = fixture.leaderboard->file(id);
            if (file.status != 200 || file.body != rest) {
                problem = "the stored file differs from the bytes submitted";
                return false;
            }
            const Reply info = fixture.leaderboard->recording(id);
            if (info.status != 200) {
                problem = "an accepted recording can't be read: " + info.body;
                return false;
            }
            return true;
        }
        case 400:
        case 401:
        case 403:
        case 409:
        case 413:
            if (!answer.contains("error")) {
                problem = "a refusal without a reason: " + reply.body;
                return false;
            }
            return true;
        default:
            problem = "status " + std::to_string(reply.status) + ": " + reply.body;
            return false;
    }
}

}  // namespace kolvane::fuzz
