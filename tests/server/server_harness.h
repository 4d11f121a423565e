#pragma once
// What the server's tests share: kolvane-server's parts run in the test's own
// process on a free loopback port with a clock the test moves, a client for
// its API, a PostgreSQL of the test's own, and games played through the
// game's own code as a window plays them.
#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/replay/recording.h"
#include "server/leaderboard_server.h"
#include "support/scratch.h"

namespace kolvane::server::testing {

namespace fs = std::filesystem;
using kolvane::testing::quoted;
using kolvane::testing::scratchDir;
using nlohmann::json;

// The server's clock in a test: it stands still until moved.
struct TestClock {
    std::atomic<std::int64_t> ms{1800000000000};
    std::function<std::int64_t()> function() {
        return [this] { return ms.load(); };
    }
};

// A server answering on 127.0.0.1 (any free port) until destroyed.
class RunningServer {
public:
    RunningServer(ServerOptions options, TestClock& clock);
    ~RunningServer();
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;
    int port() const { return server_.port(); }

private:
    LeaderboardServer server_;
    std::thread thread_;
};

// Options for a test server: no rate limits unless asked, few threads.
ServerOptions testOptions(const std::string& db, int workers = 1);

// One answer of the API.
struct Answer {
    int status = 0;
    json body;
    std::string text;
    httplib::Headers headers;
};

class ApiClient {
public:
    explicit ApiClient(int port);
    Answer get(const std::string& path);
    Answer post(const std::string& path, const std::string& body,
                const std::string& key = "test-key-0123456789");
    // A new ticket: its token and clock.
    std::pair<std::string, std::int32_t> ticket();
    // Submits as player with key; the answer.
    Answer submit(const std::string& recording, const std::string& player,
                  const std::string& key = "test-key-0123456789");
    // Waits (a bounded time) until the recording is no longer queued.
    Answer verdict(const std::string& id);

private:
    httplib::Client client_;
};

// A recording of a session that starts from clock (seed 1, 740 x 580 unless
// said) and plays `games` short games (the ship thrusts into the rocks, firing
// now and then), with the ticket line the recorder writes when it has one.
struct PlayedGames {
    std::string text;
    std::vector<GameResult> games;
    std::int64_t ticks = 0;
};
PlayedGames playGames(std::int32_t clock, const std::optional<std::string>& ticket, int games = 1,
                      std::uint32_t seed = 1, int width = 740, int height = 580,
                      int firePeriod = 9);

// The recording with its first game line's score changed by hand.
std::string forged(const std::string& recording);

// A free TCP port on 127.0.0.1 (free when asked).
int freePort();

// A PostgreSQL of the test's own (tests/server/postgres.sh), stopped when
// destroyed; url() is empty when it could not start.
class TestPostgres {
public:
    TestPostgres();
    ~TestPostgres();
    TestPostgres(const TestPostgres&) = delete;
    TestPostgres& operator=(const TestPostgres&) = delete;
    const std::string& url() const { return url_; }
    void stop();
    void startAgain();

private:
    fs::path dir_;
    std::string url_;
};

// The output and exit code of a shell command.
struct Ran {
    int code = -1;
    std::string out;
};
Ran runCommand(const std::string& command);

}  // namespace kolvane::server::testing

namespace kolvane::server::testing {

// The kolvane-server program in a process of its own, with the given
// arguments and extra environment; started() once it says where it listens.
class ServerProcess {
public:
    ServerProcess(std::vector<std::string> arguments, std::vector<std::string> environment = {},
                  fs::path errors = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts it; false when it did not say it is ready within 20 s.
    bool start();
    // SIGKILL, and waits for it.
    void kill();
    // SIGTERM; its exit code (-1: it did not end within 20 s, and was killed).
    int terminate();
    int port() const { return port_; }
    // What it printed on its first line.
    const std::string& said() const { return said_; }

private:
    std::vector<std::string> arguments_;
    std::vector<std::string> environment_;
    fs::path errors_;
    pid_t pid_ = -1;
    int port_ = 0;
    std::string said_;
};

}  // namespace kolvane::server::testing
