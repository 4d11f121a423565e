// kolvane-server under faults, each run bounded in time, on loopback only
// (label server-faults: `make server-faults`): servers and verifiers killed
// mid-run, PostgreSQL stopped and started, a full disk, a read-only database.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <map>
#include <mutex>
#include <random>

#include "server/digest.h"
#include "server/server_harness.h"

namespace kolvane::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A tmpfs of the given size at dir, unmounted when destroyed; needs root.
class SmallDisk {
public:
    SmallDisk(const fs::path& dir, const std::string& size) : dir_(dir) {
        fs::create_directories(dir);
        runCommand("umount " + quoted(dir.string()) + " 2>/dev/null");
        mounted_ =
            ::geteuid() == 0 &&
            runCommand("mount -t tmpfs -o size=" + size + " tmpfs " + quoted(dir.string())).code ==
                0;
    }
    ~SmallDisk() {
        if (mounted_) runCommand("umount " + quoted(dir_.string()));
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    bool remount(const std::string& mode) {
        return runCommand("mount -o remount," + mode + " " + quoted(dir_.string())).code == 0;
    }

private:
    fs::path dir_;
    bool mounted_ = false;
};

// A recording of about `bytes` bytes: comment lines after a game's keys.
std::string padded(const std::string& recording, std::size_t bytes) {
    std::string text = recording;
    const std::string line = "# " + std::string(1000, 'p') + "\n";
    while (text.size() + line.size() < bytes) text += line;
    return text;
}

TEST(Faults, KilledServersAndVerifiersLoseNothing) {
    constexpr int kPlayers = 100;
    constexpr int kGamesEach = 10;
    constexpr int kClients = 8;
    TestPostgres postgres;
    ASSERT_FALSE(postgres.url().empty());
    const fs::path folder = scratchDir();
    const std::string listen = "127.0.0.1:" + std::to_string(freePort());
    ServerProcess server({"--listen", listen, "--db", postgres.url(), "--workers", "1",
                          "--submit-rate", "0", "--ticket-rate", "0", "--lease", "2"},
                         {}, folder / "server.log");
    ServerProcess verifier(
        {"--verify-only", "--db", postgres.url(), "--workers", "1", "--lease", "2"}, {},
        folder / "verifier.log");
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(verifier.start());
    const auto started = Clock::now();

    // A thousand genuine games, each from a ticket, played before any is sent
    // (so that their time has passed when they are).
    struct Submission {
        std::string player;
        std::string key;
        std::string text;
        std::vector<GameResult> games;
    };
    std::vector<Submission> submissions;
    {
        ApiClient api(server.port());
        std::vector<std::pair<std::string, std::int32_t>> tickets;
        const auto firstTicket = Clock::now();
        for (int i = 0; i < kPlayers * kGamesEach; ++i) tickets.push_back(api.ticket());
        std::int64_t longest = 0;
        for (int i = 0; i < kPlayers * kGamesEach; ++i) {
            const PlayedGames played =
                playGames(tickets[i].second, tickets[i].first, 1, 1, 740, 580, 7 + i % 5);
            longest = std::max(longest, played.ticks);
            submissions.push_back({"Player " + std::to_string(i % kPlayers),
                                   "key-of-player-" + std::to_string(i % kPlayers) + "-000000",
                                   played.text, played.games});
        }
        std::this_thread::sleep_until(firstTicket + std::chrono::milliseconds(longest * 15));
    }

    // Eight clients send them while the server and the verifier-only process
    // are killed at random moments and started again.
    std::atomic<int> next{0};
    std::atomic<int> clientsDone{0};
    std::mutex mutex;
    std::map<std::string, int> accepted;  // id: submission
    std::vector<std::string> failures;
    const auto deadline = Clock::now() + std::chrono::seconds(240);
    std::vector<std::thread> clients;
    std::atomic<int> port{server.port()};
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&] {
            for (int i = next++; i < static_cast<int>(submissions.size()); i = next++) {
                const Submission& s = submissions[static_cast<std::size_t>(i)];
                bool done = false;
                while (!done && Clock::now() < deadline) {
                    ApiClient api(port);
                    const Answer a = api.submit(s.text, s.player, s.key);
                    if (a.status == 202 || a.status == 200) {
                        const std::lock_guard lock(mutex);
                        accepted[a.body["id"].get<std::string>()] = i;
                        done = true;
                    } else if (a.status != 0 && a.status != 503) {
                        const std::lock_guard lock(mutex);
                        failures.push_back(std::to_string(a.status) + " " + a.text);
                        done = true;
                    } else {
                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    }
                }
            }
            ++clientsDone;
        });
    }
    std::mt19937 random(2112);
    int kills = 0;
    // Kills go on while the clients send and then while the queue empties.
    const auto verifiedAll = [&] {
        std::int64_t depth = -1;
        ApiClient api(port);
        const Answer metrics = api.get("/metrics");
        const std::size_t at = metrics.text.find("\nkolvane_queue_depth ");
        if (at != std::string::npos) depth = std::atoll(metrics.text.c_str() + at + 21);
        return depth == 0;
    };
    while (Clock::now() < deadline && (clientsDone < kClients || kills < 10 || !verifiedAll())) {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution(100, 800)(random)));
        ServerProcess& victim = random() % 2 == 0 ? server : verifier;
        victim.kill();
        ++kills;
        for (int tries = 0; tries < 50 && !victim.start(); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (&victim == &server) port = server.port();
    }
    for (std::thread& t : clients) t.join();
    EXPECT_TRUE(failures.empty()) << failures.front();
    EXPECT_GE(kills, 10);
    ASSERT_EQ(accepted.size(), submissions.size());

    // Every accepted submission ends verified, with the games played.
    ApiClient api(server.port());
    std::map<std::string, int> best;  // player: best score
    for (const auto& [id, i] : accepted) {
        const Submission& s = submissions[static_cast<std::size_t>(i)];
        EXPECT_EQ(id, sha256Hex(s.text));
        const Answer verdict = api.verdict(id);
        ASSERT_EQ(verdict.body["status"], "verified") << verdict.text;
        EXPECT_EQ(verdict.body["ranked"], true) << verdict.text;
        ASSERT_EQ(verdict.body["games"].size(), s.games.size());
        EXPECT_EQ(verdict.body["games"][0]["score"], s.games[0].score);
        EXPECT_EQ(verdict.body["games"][0]["end_tick"], s.games[0].endTick);
        best[s.player] = std::max(best[s.player], s.games[0].score);
    }
    // The table: each player's best, as an undisturbed run ranks it.
    const Answer table = api.get("/api/scores?limit=100");
    ASSERT_EQ(table.body["scores"].size(), static_cast<std::size_t>(kPlayers)) << table.text;
    int previous = 1 << 30;
    for (const json& entry : table.body["scores"]) {
        EXPECT_EQ(entry["score"], best[entry["player"].get<std::string>()]) << entry.dump();
        EXPECT_LE(entry["score"].get<int>(), previous);
        previous = entry["score"];
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started);
    std::printf("fault run: %zu submissions, %d kills, %lld s\n", accepted.size(), kills,
                static_cast<long long>(seconds.count()));
}

TEST(Faults, PostgresStoppedAndStartedIs503ThenResumes) {
    TestPostgres postgres;
    ASSERT_FALSE(postgres.url().empty());
    TestClock clock;
    RunningServer server(testOptions(postgres.url()), clock);
    ApiClient api(server.port());
    const PlayedGames first = playGames(1500000000, std::nullopt);
    const Answer one = api.submit(first.text, "Ann");
    ASSERT_EQ(one.status, 202);
    EXPECT_EQ(api.verdict(one.body["id"]).body["status"], "verified");

    postgres.stop();
    const PlayedGames second = playGames(1500000001, std::nullopt);
    EXPECT_EQ(api.get("/api/health").status, 503);
    const Answer refused = api.submit(second.text, "Ann");
    EXPECT_EQ(refused.status, 503);
    EXPECT_EQ(refused.body["error"], "the database is not answering");
    EXPECT_EQ(api.get("/api/recordings/" + one.body["id"].get<std::string>()).status, 503);

    postgres.startAgain();
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (api.get("/api/health").status != 200 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const Answer two = api.submit(second.text, "Ann");
    ASSERT_EQ(two.status, 202) << two.text;
    EXPECT_EQ(api.verdict(two.body["id"]).body["status"], "verified");
    EXPECT_EQ(api.verdict(one.body["id"]).body["status"], "verified");
}

TEST(Faults, AFullDiskIsAClearErrorAndHarmsNothing) {
    const fs::path folder = scratchDir();
    // Room for the database, its log and one large recording, but not two.
    SmallDisk disk(folder / "disk", "8m");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    TestClock clock;
    RunningServer server(testOptions((folder / "disk" / "leaderboard.sqlite").string()), clock);
    ApiClient api(server.port());
    const PlayedGames kept = playGames(1500000000, std::nullopt);
    const Answer one = api.submit(kept.text, "Ann");
    ASSERT_EQ(one.status, 202);
    EXPECT_EQ(api.verdict(one.body["id"]).body["status"], "verified");

    {
        std::ofstream filler(folder / "disk" / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    const std::string large = padded(playGames(1500000001, std::nullopt).text, 1900000);
    const Answer full = api.submit(large, "Ann");
    EXPECT_EQ(full.status, 507) << full.text;
    EXPECT_EQ(full.body["error"], "the database's disk is full");
    EXPECT_EQ(api.get("/api/recordings/" + sha256Hex(large)).status, 404) << "nothing half-written";
    EXPECT_EQ(api.get("/api/recordings/" + one.body["id"].get<std::string>() + "/file").text,
              kept.text);

    fs::remove(folder / "disk" / "filler");
    const Answer room = api.submit(large, "Ann");
    ASSERT_EQ(room.status, 202) << room.text;
    EXPECT_EQ(api.verdict(room.body["id"]).body["status"], "verified");
}

TEST(Faults, AReadOnlyDatabaseAnswersReadsAndRefusesWrites) {
    const fs::path folder = scratchDir();
    SmallDisk disk(folder / "disk", "4m");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const std::string db = (folder / "disk" / "leaderboard.sqlite").string();
    TestClock clock;
    const PlayedGames kept = playGames(1500000000, std::nullopt);
    std::string id;
    {
        RunningServer server(testOptions(db), clock);
        ApiClient api(server.port());
        const Answer one = api.submit(kept.text, "Ann");
        ASSERT_EQ(one.status, 202);
        id = one.body["id"];
        EXPECT_EQ(api.verdict(id).body["status"], "verified");
    }
    // A write-ahead log can't be read from read-only media: as an operator
    // would, switch the database to a rollback journal first.
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(handle, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
    ASSERT_TRUE(disk.remount("ro"));

    RunningServer server(testOptions(db), clock);
    ApiClient api(server.port());
    EXPECT_EQ(api.get("/api/health").status, 200);
    EXPECT_EQ(api.get("/api/recordings/" + id).body["status"], "verified");
    EXPECT_EQ(api.get("/api/recordings/" + id + "/file").text, kept.text);
    const Answer refused = api.submit(playGames(1500000001, std::nullopt).text, "Ann");
    EXPECT_EQ(refused.status, 503) << refused.text;
    EXPECT_EQ(refused.body["error"], "the database takes no writes (read-only)");
    disk.remount("rw");
}

}  // namespace
}  // namespace kolvane::server::testing
