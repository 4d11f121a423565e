#include "server/server_harness.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/replay/recorder.h"
#include "game/game_world.h"

namespace kolvane::server::testing {

Ran runCommand(const std::string& command) {
    Ran ran;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return ran;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) ran.out.append(buffer, n);
    const int status = ::pclose(pipe);
    ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(s);
    return port;
}

ServerOptions testOptions(const std::string& db, int workers) {
    ServerOptions options;
    options.host = "127.0.0.1";
    options.port = 0;
    options.db = db;
    options.workers = workers;
    options.threads = 8;
    options.submitsPerMinute = 0;
    options.ticketsPerMinute = 0;
    options.leaseSeconds = 5;
    options.verifierProgram = KOLVANE_SERVER;
    return options;
}

RunningServer::RunningServer(ServerOptions options, TestClock& clock)
    : server_(std::move(options), clock.function()) {
    std::string error;
    if (!server_.open(error)) {
        ADD_FAILURE() << "the server did not start: " << error;
        return;
    }
    thread_ = std::thread([this] { server_.run(); });
}

RunningServer::~RunningServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

ApiClient::ApiClient(int port) : client_("127.0.0.1", port) {
    client_.set_connection_timeout(5, 0);
    client_.set_read_timeout(20, 0);
    client_.set_tcp_nodelay(true);
}

namespace {

Answer answerOf(const httplib::Result& result) {
    Answer answer;
    if (!result) return answer;
    answer.status = result->status;
    answer.text = result->body;
    answer.headers = result->headers;
    answer.body = json::parse(result->body, nullptr, false);
    return answer;
}

}  // namespace

Answer ApiClient::get(const std::string& path) {
    return answerOf(client_.Get(path));
}

Answer ApiClient::post(const std::string& path, const std::string& body, const std::string& key) {
    httplib::Headers headers;
    if (!key.empty()) headers.emplace("Authorization", "Bearer " + key);
    return answerOf(client_.Post(path, headers, body, "text/plain"));
}

std::pair<std::string, std::int32_t> ApiClient::ticket() {
    const Answer answer = post("/api/tickets", "", "");
    EXPECT_EQ(answer.status, 201) << answer.text;
    if (answer.status != 201) return {"", 0};
    return {answer.body["ticket"].get<std::string>(), answer.body["clock"].get<std::int32_t>()};
}

Answer ApiClient::submit(const std::string& recording, const std::string& player,
                         const std::string& key) {
    return post("/api/recordings?player=" + httplib::detail::encode_query_param(player), recording,
                key);
}

Answer ApiClient::verdict(const std::string& id) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    Answer answer;
    do {
        answer = get("/api/recordings/" + id);
        if (answer.status != 200 || answer.body.value("status", "") != "queued") return answer;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    ADD_FAILURE() << "recording " << id << " still queued after 60 s";
    return answer;
}

PlayedGames playGames(std::int32_t clock, const std::optional<std::string>& ticket, int games,
                      std::uint32_t seed, int width, int height, int firePeriod) {
    // Firing only at first: then the ship rams the rocks that are left, and
    // every game ends within seconds of play.
    constexpr int kFiringTicks = 300;
    const auto world = std::make_unique<GameWorld>();
    const SessionStart start{clock, seed, Rect{0, 0, width, height}};
    Session session(*world, start);
    Recorder recorder("test", "server test", clock, ticket.value_or(""));
    session.addListener(recorder);
    session.discardPixels(true);
    session.start();
    session.paint();
    const auto tick = [&](int n) {
        for (int i = 0; i < n; ++i) {
            session.tick();
            session.paint();
        }
    };
    PlayedGames played;
    // A bounded number of ticks: a game where the ship rams rocks ends in
    // a few hundred.
    for (int game = 0; game < games && session.ticksDone() < 200000; ++game) {
        tick(10);
        session.keyDown(KeyEvent{vk::kS, false});
        session.keyDown(KeyEvent{vk::kUp, false});
        session.keyDown(KeyEvent{vk::kLeft, false});
        const std::size_t before = recorder.finishedGames().size();
        for (int t = 0; recorder.finishedGames().size() == before && t < 100000; ++t) {
            if (firePeriod > 0 && t < kFiringTicks && t % firePeriod == 0)
                session.keyDown(KeyEvent{vk::kSpace, false});
            tick(1);
        }
        session.keyUp(vk::kUp);
        session.keyUp(vk::kLeft);
        tick(20);
    }
    for (const FinishedGame& game : recorder.finishedGames()) played.games.push_back(game.result);
    played.ticks = session.ticksDone();
    played.text = recorder.wholeText();
    return played;
}

std::string forged(const std::string& recording) {
    std::string text = recording;
    const std::size_t line = text.find("# game 1: score ");
    if (line == std::string::npos) return text;
    const std::size_t digits = line + 16;
    const std::size_t comma = text.find(',', digits);
    const long score = std::stol(text.substr(digits, comma - digits));
    text.replace(digits, comma - digits, std::to_string(score + 1000));
    return text;
}

TestPostgres::TestPostgres() {
    char pattern[] = "/tmp/kolvane-pg-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return;
    dir_ = pattern;
    // The database runs as another user when this is root: it must reach here.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    const Ran ran = runCommand(quoted(KOLVANE_TEST_DATA "/server/postgres.sh") + " start " +
                               quoted((dir_ / "pg").string()) + " " + std::to_string(freePort()));
    if (ran.code == 0 && ran.out.rfind("postgresql://", 0) == 0) {
        url_ = ran.out.substr(0, ran.out.find('\n'));
    } else {
        ADD_FAILURE() << "PostgreSQL did not start: " << ran.out;
    }
}

TestPostgres::~TestPostgres() {
    if (dir_.empty()) return;
    stop();
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void TestPostgres::stop() {
    runCommand(quoted(KOLVANE_TEST_DATA "/server/postgres.sh") + " stop " +
               quoted((dir_ / "pg").string()));
}

void TestPostgres::startAgain() {
    runCommand(quoted(KOLVANE_TEST_DATA "/server/postgres.sh") + " start-again " +
               quoted((dir_ / "pg").string()));
}

}  // namespace kolvane::server::testing

namespace kolvane::server::testing {

ServerProcess::ServerProcess(std::vector<std::string> arguments,
                             std::vector<std::string> environment, fs::path errors)
    : arguments_(std::move(arguments)),
      environment_(std::move(environment)),
      errors_(std::move(errors)) {}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) terminate();
}

bool ServerProcess::start() {
    int out[2];
    if (::pipe(out) != 0) return false;
    std::vector<std::string> args{KOLVANE_SERVER};
    args.insert(args.end(), arguments_.begin(), arguments_.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        // A test that dies takes its servers with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        if (!errors_.empty()) {
            std::FILE* e = std::fopen(errors_.c_str(), "a");
            if (e != nullptr) ::dup2(::fileno(e), 2);
        }
        for (const std::string& variable : environment_) {
            const std::size_t eq = variable.find('=');
            if (eq == std::string::npos) {
                ::unsetenv(variable.c_str());
            } else {
                ::setenv(variable.substr(0, eq).c_str(), variable.substr(eq + 1).c_str(), 1);
            }
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line: "kolvane-server: listening on http://127.0.0.1:PORT/".
    said_.clear();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{out[0], POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) continue;
        if (::read(out[0], &c, 1) != 1 || c == '\n') break;
        said_ += c;
    }
    ::close(out[0]);
    const std::size_t colon = said_.rfind(':');
    port_ = colon == std::string::npos ? 0 : std::atoi(said_.c_str() + colon + 1);
    return said_.rfind("kolvane-server: ", 0) == 0;
}

void ServerProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int ServerProcess::terminate() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill();
    return -1;
}

}  // namespace kolvane::server::testing
