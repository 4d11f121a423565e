// The leaderboard client, the command-line actions, the outbox and the
// background worker, end to end through libcurl against a stand-in for
// kolvane-server on loopback.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "app/network/fake_leaderboard.h"
#include "app/network/leaderboard_client.h"
#include "app/network/network_commands.h"
#include "app/network/network_worker.h"
#include "support/scratch.h"

namespace kolvane {
namespace {

using testing::FakeLeaderboard;
namespace fs = std::filesystem;

std::string recording(const std::string& extra, int score) {
    return "# Kolvane 0.2, SDL window on Linux\nclock 1767225600\nseed 1\nsize 740 580\n" + extra +
           "tick 5432\n# game 1: score " + std::to_string(score) +
           ", level 2, ended at tick 5432\n";
}

struct Printed {
    int status = 0;
    std::string out;
    std::string errors;
};

class Commands : public ::testing::Test {
protected:
    // Runs a command with its output in files.
    template <class Command>
    Printed run(const std::string& server, Command command, const std::string& name = "Ana") {
        CommandSetup setup;
        setup.server = server;
        setup.player = {PlayerName::fromText(name), dir_ / "player.key"};
        setup.wait = VerdictWait{10000, 1, 5};
        setup.out = std::tmpfile();
        setup.errors = std::tmpfile();
        Printed printed;
        printed.status = command(setup);
        printed.out = testing::contentsOf(setup.out);
        printed.errors = testing::contentsOf(setup.errors);
        std::fclose(setup.out);
        std::fclose(setup.errors);
        return printed;
    }

    Printed submit(const std::string& text, const std::string& name = "Ana") {
        const fs::path file = dir_ / "game.kolvane";
        testing::writeText(file, text);
        return run(
            fake_.url(), [&](const CommandSetup& s) { return submitCommand(s, file); }, name);
    }

    fs::path dir_ = testing::scratchDir();
    FakeLeaderboard fake_;
};

TEST_F(Commands, SubmitPrintsTheVerdictAndExitsByIt) {
    const Printed ranked = submit(recording("ticket t-1\n", 1250));
    EXPECT_EQ(ranked.status, 0) << ranked.errors;
    EXPECT_EQ(ranked.out, "verified: score 1250, rank 1\n");
    EXPECT_EQ(submit(recording("", 300)).out, "verified: score 300, not ranked: no ticket\n");

    const Printed forged = submit(recording("# forged\n", 999999));
    EXPECT_EQ(forged.status, 3);
    EXPECT_EQ(forged.out, "rejected: game 1 ends with score 530, not the 999999 it claims\n");

    // The same bytes again: the server's answer for them, and nothing new stored.
    EXPECT_EQ(submit(recording("ticket t-1\n", 1250)).status, 0);
    EXPECT_EQ(fake_.stored(), 3);

    // The key made on the first submission claims the name: only its owner's.
    EXPECT_EQ(fs::status(dir_ / "player.key").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(dir_ / "player.key");
    const Printed stolen = submit(recording("ticket t-2\n", 10));
    EXPECT_EQ(stolen.status, 3);
    EXPECT_EQ(stolen.out, "refused: HTTP 403: the name Ana is another player's\n");
}

TEST_F(Commands, SubmitWithoutAServerExitsWithOne) {
    const fs::path file = dir_ / "game.kolvane";
    testing::writeText(file, recording("", 10));
    const Printed down =
        run("http://127.0.0.1:1", [&](const CommandSetup& s) { return submitCommand(s, file); });
    EXPECT_EQ(down.status, 1);
    EXPECT_EQ(down.out, "");
    EXPECT_NE(down.errors.find("kolvane: --submit: server unreachable"), std::string::npos)
        << down.errors;
    EXPECT_EQ(run("", [&](const CommandSetup& s) { return submitCommand(s, file); }).status, 1);
}

TEST_F(Commands, WorldPrintsTheTableWithTheServersTextMadeHarmless) {
    submit(recording("ticket t-1\n", 1250));
    submit(recording("ticket t-2\n", 4000), "Bo");
    const Printed world = run(fake_.url(), [](const CommandSetup& s) { return worldCommand(s); });
    EXPECT_EQ(world.status, 0) << world.errors;
    const std::vector<std::string> lines = {
        "  #    Score  Level  Date (UTC)           Player                Recording",
        "  1     4000      2  2026-01-01 00:00:00  Bo",
        "  2     1250      2  2026-01-01 00:00:00  Ana"};
    for (const auto& line : lines) EXPECT_NE(world.out.find(line), std::string::npos) << world.out;

    // A name with a terminal escape and a direction override prints neither.
    fake_.answerNextWith(200, R"({"scores": [{"rank": 1, "player": "\u001b[2J\u202eEve", "score": 9,
        "level": 1, "date": 0, "recording": ")" +
                                  std::string(64, 'a') + R"("}]})");
    const Printed nasty = run(fake_.url(), [](const CommandSetup& s) { return worldCommand(s); });
    EXPECT_NE(nasty.out.find("  1        9      1  1970-01-01 00:00:00  ?[2J?Eve  "),
              std::string::npos)
        << nasty.out;
}

TEST(LeaderboardAnswers, AreCheckedBeforeTheyAreTaken) {
    FakeLeaderboard fake;
    std::string error;
    auto http = makeHttpClient({}, error);
    LeaderboardClient client(*http, *ServerUrl::parse(fake.url() + "/"));

    const auto ticket = client.fetchTicket();
    ASSERT_TRUE(ticket) << ticket.error.text;
    EXPECT_EQ(ticket.value->token, "t-1");
    EXPECT_EQ(ticket.value->clockSeconds, 1767225600);

    struct Case {
        int status;
        const char* body;
        ServerProblem problem;
    };
    const Case cases[] = {
        {201, R"({"ticket": "t-2\nseed 7", "clock": 5})",
         ServerProblem::kBadAnswer},  // breaks its line
        {201, R"({"ticket": "t-2", "clock": -1})", ServerProblem::kBadAnswer},
        {201, R"({"ticket": "t-2", "clock": 5000000000})", ServerProblem::kBadAnswer},
        {201, "<html>", ServerProblem::kBadAnswer},
        {302, "", ServerProblem::kBadAnswer},
        {503, R"({"error": "database down"})", ServerProblem::kUnreachable},
        {429, "", ServerProblem::kUnreachable},
        {400, R"({"error": "no"})", ServerProblem::kRefused},
    };
    for (const Case& c : cases) {
        fake.answerNextWith(c.status, c.body);
        const auto answer = client.fetchTicket();
        EXPECT_FALSE(answer) << c.body;
        EXPECT_EQ(answer.error.problem, c.problem) << c.body << ": " << answer.error.text;
    }
    fake.answerNextWith(503, R"({"error": "database down"})");
    EXPECT_EQ(client.fetchTicket().error.text, "HTTP 503: database down");

    const auto id = *RecordingId::fromText(std::string(64, 'b'));
    fake.answerNextWith(200, R"({"status": "verified", "games": [{"score": "1250"}]})");
    EXPECT_EQ(client.fetchVerdict(id).error.problem, ServerProblem::kBadAnswer);
    fake.answerNextWith(200, R"({"scores": [{"rank": 1, "player": "A", "score": 1, "level": 1,
        "date": 0, "recording": "../../etc/passwd"}]})");
    EXPECT_EQ(client.fetchWorldTable(10, 0).error.problem, ServerProblem::kBadAnswer);
}

// Polls the worker until pred accepts a result; the results passed over
// before it are appended to skipped. Bounded: fails after 30 s.
template <class Pred>
std::optional<NetworkResult> awaitResult(NetworkWorker& worker, Pred pred,
                                         std::vector<NetworkResult>* skipped = nullptr) {
    for (int i = 0; i < 3000; ++i) {
        while (auto result = worker.poll()) {
            if (pred(*result)) return result;
            if (skipped) skipped->push_back(std::move(*result));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "no result from the worker";
    return std::nullopt;
}

bool isOutbox(const NetworkResult& r) {
    return std::holds_alternative<OutboxEvent>(r);
}
bool isTable(const NetworkResult& r) {
    return std::holds_alternative<WorldTableResult>(r);
}

NetworkSetup setupFor(const std::string& url, const fs::path& dir) {
    return {*ServerUrl::parse(url),
            {PlayerName::fromText("Ana"), dir / "config/player.key"},
            dir / "data/outbox",
            HttpTimeouts{},
            dir / "data/world-verified.txt"};
}

TEST(Outbox, KeepsWhatCantBeSentAndSendsItOnceAtALaterStart) {
    const fs::path dir = testing::scratchDir();
    const fs::path outbox = dir / "data/outbox";
    int port = 0;
    {
        const FakeLeaderboard gone;
        port = gone.port();
    }
    const std::string name = "2026-01-01_00-00-00_7.kolvane";
    {
        // Offline: queued, tried, kept.
        NetworkWorker worker(setupFor("http://127.0.0.1:" + std::to_string(port), dir));
        worker.submit(name, recording("ticket t-1\n", 1250));
        const auto event = std::get<OutboxEvent>(*awaitResult(worker, isOutbox));
        EXPECT_EQ(event.kind, OutboxEventKind::kWaiting);
        EXPECT_EQ(event.name, name);
    }
    EXPECT_EQ(testing::filesIn(outbox), std::vector<std::string>{name});
    testing::writeText(outbox / "2026-01-02_00-00-00_7.kolvane", "not a recording\n");

    const FakeLeaderboard server(port);
    ASSERT_EQ(server.port(), port);
    for (int start = 0; start < 2; ++start) {
        NetworkWorker worker(setupFor(server.url(), dir));
        worker.sendOutbox();
        worker.fetchWorldTable(10);
        std::vector<NetworkResult> events;
        const auto table = awaitResult(worker, isTable, &events);
        if (start == 1) {
            EXPECT_TRUE(events.empty()) << "nothing is left to send";
            continue;
        }
        ASSERT_EQ(events.size(), 2u);
        const auto& sent = std::get<OutboxEvent>(events[0]);
        EXPECT_EQ(sent.kind, OutboxEventKind::kSent);
        EXPECT_EQ(sent.name, name);
        EXPECT_TRUE(sent.id.has_value());
        const auto& refused = std::get<OutboxEvent>(events[1]);
        EXPECT_EQ(refused.kind, OutboxEventKind::kRefused);
        EXPECT_EQ(refused.reason, "HTTP 400: 1: not a recording");
        const auto& entries = std::get<WorldTableResult>(*table).answer.value->entries;
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].recording, *sent.id);
    }
    EXPECT_EQ(server.submissionsReceived(), 2);
    EXPECT_EQ(testing::filesIn(outbox), std::vector<std::string>{"refused"});
    EXPECT_EQ(testing::readText(outbox / "refused/2026-01-02_00-00-00_7.kolvane.reason"),
              "HTTP 400: 1: not a recording\n");
}

TEST(Outbox, StoppingTheWorkerKeepsTheRecordingsItWasGiven) {
    const fs::path dir = testing::scratchDir();
    FakeLeaderboard server;
    server.stallApi();
    {
        NetworkWorker worker(setupFor(server.url(), dir));
        worker.fetchTicket();  // stalls until stop() cancels it
        worker.submit("2026-01-01_00-00-00_8.kolvane", recording("", 5));
        worker.stop();
    }
    EXPECT_EQ(testing::filesIn(dir / "data/outbox"),
              std::vector<std::string>{"2026-01-01_00-00-00_8.kolvane"});
    EXPECT_EQ(server.submissionsReceived(), 0);
}

}  // namespace
}  // namespace kolvane
