// The leaderboard end to end, as a client sees it: a real server on loopback
// (in this process, with a clock the test moves), over HTTP, with SQLite and
// with a PostgreSQL of the test's own. Games are played through the game's
// own code, as a window plays them, from the server's tickets.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "server/digest.h"
#include "server/http_front.h"
#include "server/server_harness.h"

namespace kolvane::server::testing {
namespace {

enum class Backend { kSqlite, kPostgres };

class Acceptance : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        folder_ = scratchDir();
        if (GetParam() == Backend::kPostgres) {
            postgres_ = std::make_unique<TestPostgres>();
            ASSERT_FALSE(postgres_->url().empty());
            db_ = postgres_->url();
        } else {
            db_ = (folder_ / "leaderboard.sqlite").string();
        }
    }

    // A game played from a fresh ticket, the clock moved on by its length.
    PlayedGames playFromTicket(ApiClient& api, int games = 1) {
        const auto [token, clock] = api.ticket();
        PlayedGames played = playGames(clock, token, games);
        clock_.ms += played.ticks * 15 + 1000;
        return played;
    }

    TestClock clock_;
    fs::path folder_;
    std::unique_ptr<TestPostgres> postgres_;
    std::string db_;
};

TEST_P(Acceptance, AGenuineGameRanksWithItsScoreAndOutlivesARestart) {
    std::string id;
    PlayedGames played;
    {
        RunningServer server(testOptions(db_), clock_);
        ApiClient api(server.port());
        played = playFromTicket(api, 2);
        ASSERT_EQ(played.games.size(), 2u);
        const Answer queued = api.submit(played.text, "Ann");
        ASSERT_EQ(queued.status, 202) << queued.text;
        id = queued.body["id"];
        EXPECT_EQ(id.size(), 64u);
        EXPECT_EQ(queued.body["status"], "queued");

        const Answer verdict = api.verdict(id);
        ASSERT_EQ(verdict.body["status"], "verified") << verdict.text;
        EXPECT_EQ(verdict.body["ranked"], true) << verdict.text;
        EXPECT_EQ(verdict.body["rank"], 1) << verdict.text;
        EXPECT_EQ(verdict.body["player"], "Ann");
        ASSERT_EQ(verdict.body["games"].size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(verdict.body["games"][i]["score"], played.games[i].score);
            EXPECT_EQ(verdict.body["games"][i]["level"], played.games[i].level);
            EXPECT_EQ(verdict.body["games"][i]["end_tick"], played.games[i].endTick);
        }
        EXPECT_TRUE(verdict.body.contains("verification_seconds"));

        // The same bytes again: the same id, no second entry.
        const Answer again = api.submit(played.text, "Ann");
        EXPECT_EQ(again.status, 200);
        EXPECT_EQ(again.body["id"], id);
        EXPECT_EQ(again.body["status"], "verified");
    }
    // A new server on the same database: everything is still there.
    RunningServer server(testOptions(db_), clock_);
    ApiClient api(server.port());
    const int best = std::max(played.games[0].score, played.games[1].score);
    const Answer table = api.get("/api/scores?limit=10");
    ASSERT_EQ(table.status, 200);
    ASSERT_EQ(table.body["scores"].size(), 1u) << table.text;
    const json& entry = table.body["scores"][0];
    EXPECT_EQ(entry["rank"], 1);
    EXPECT_EQ(entry["player"], "Ann");
    EXPECT_EQ(entry["score"], best);
    EXPECT_EQ(entry["recording"], id);
    EXPECT_EQ(api.verdict(id).body["status"], "verified");

    const Answer file = api.get("/api/recordings/" + id + "/file");
    EXPECT_EQ(file.text, played.text) << "the stored file is the bytes submitted";
    EXPECT_NE(file.headers.find("Content-Disposition")->second.find(".kolvane"), std::string::npos);
    // As anyone downloads it, it verifies with the replay runner.
    std::ofstream(folder_ / "download.kolvane", std::ios::binary) << file.text;
    const Ran verify = runCommand(quoted(KOLVANE_SIM) + " --verify " +
                                  quoted((folder_ / "download.kolvane").string()));
    EXPECT_EQ(verify.code, 0) << verify.out;

    const Answer games = api.get("/api/players/ANN");
    ASSERT_EQ(games.status, 200) << games.text;
    EXPECT_EQ(games.body["player"], "Ann");
    EXPECT_EQ(games.body["games"].size(), 2u);
}

TEST_P(Acceptance, OnlyHonestTicketedGamesRank) {
    RunningServer server(testOptions(db_), clock_);
    ApiClient api(server.port());

    // A game line changed by hand: rejected, in the verifier's words.
    const PlayedGames honest = playFromTicket(api);
    const Answer forgery = api.submit(forged(honest.text), "Mallory", "mallory-key-0123456789");
    ASSERT_EQ(forgery.status, 202) << forgery.text;
    const Answer rejected = api.verdict(forgery.body["id"]);
    EXPECT_EQ(rejected.body["status"], "rejected");
    EXPECT_EQ(rejected.body["ranked"], false);
    EXPECT_NE(rejected.body.value("reason", "").find("disagree"), std::string::npos)
        << rejected.text;

    // Its ticket was used by the forgery: the honest game can't use it again.
    const Answer reused = api.submit(honest.text, "Mallory", "mallory-key-0123456789");
    EXPECT_EQ(reused.status, 409) << reused.text;

    // A ticket changed by hand, or moved to another clock.
    const auto [token, clock] = api.ticket();
    std::string altered = token;
    altered.back() = altered.back() == '0' ? '1' : '0';
    const Answer badSignature =
        api.submit(playGames(clock, altered).text, "Bob", "bob-key-0123456789");
    EXPECT_EQ(badSignature.status, 400);
    EXPECT_NE(badSignature.body.value("error", "").find("ticket"), std::string::npos);
    const Answer movedClock =
        api.submit(playGames(clock - 125, token).text, "Bob", "bob-key-0123456789");
    EXPECT_EQ(movedClock.status, 400) << movedClock.text;

    // Without a ticket, on another field, at a bot's pace, in slow motion:
    // verified, kept and listed, never ranked.
    struct Unranked {
        std::string recording;
        std::string reason;
    };
    std::vector<Unranked> cases;
    cases.push_back({playGames(1500000000, std::nullopt).text, "without a ticket"});
    {
        const auto [t, c] = api.ticket();
        cases.push_back({playGames(c, t, 1, 1, 1024, 768).text, "1024x768"});
    }
    {
        const auto [t, c] = api.ticket();
        PlayedGames bot = playGames(c, t, 1, 1, 740, 580, 3);  // Space every third tick
        clock_.ms += bot.ticks * 15 + 1000;
        cases.push_back({bot.text, "within a second"});
    }
    {
        const auto [t, c] = api.ticket();
        cases.push_back({playGames(c, t).text, "s between its ticket"});  // no time passed
    }
    for (const Unranked& u : cases) {
        const Answer queued = api.submit(u.recording, "Bob", "bob-key-0123456789");
        ASSERT_EQ(queued.status, 202) << queued.text;
        const Answer verdict = api.verdict(queued.body["id"]);
        EXPECT_EQ(verdict.body["status"], "verified") << verdict.text;
        EXPECT_EQ(verdict.body["ranked"], false);
        EXPECT_NE(verdict.body.value("unranked_reason", "").find(u.reason), std::string::npos)
            << verdict.text;
    }
    EXPECT_EQ(api.get("/api/players/bob").body["games"].size(), cases.size());
    EXPECT_EQ(api.get("/api/scores").body["scores"].size(), 0u) << "nothing ranked";
}

// A window sends its session's recording after each game, from the one
// ticket: the longer recording takes the ticket and the table's entry over
// from the shorter, whose games it holds, and each game ranks once; any
// other use of the ticket is still refused.
TEST_P(Acceptance, ALongerRecordingOfTheSameSessionTakesThePlaceOfTheShorter) {
    RunningServer server(testOptions(db_), clock_);
    ApiClient api(server.port());
    const PlayedGames both = playFromTicket(api, 2);
    ASSERT_EQ(both.games.size(), 2u);
    // The recording as it stood when its first game ended.
    const std::size_t firstEnd = both.text.find('\n', both.text.find("# game 1: ")) + 1;
    const std::string first = both.text.substr(0, firstEnd);

    const Answer one = api.submit(first, "Ann");
    ASSERT_EQ(one.status, 202) << one.text;
    EXPECT_EQ(api.verdict(one.body["id"]).body["ranked"], true);
    EXPECT_EQ(api.get("/api/scores").body["scores"][0]["recording"], one.body["id"]);

    // Another player's, or one whose past changed: refused.
    EXPECT_EQ(api.submit(both.text, "Bob", "bob-key-0123456789").status, 409);
    std::string changed = both.text;
    changed.replace(changed.find("\npress S\n"), 9, "\npress P\n");
    const Answer otherPast = api.submit(changed, "Ann");
    EXPECT_EQ(otherPast.status, 409) << otherPast.text;
    EXPECT_NE(otherPast.body.value("error", "").find("does not extend"), std::string::npos);

    // Then the whole session, and a last tick more, sent before the first
    // of them is verified: verified in their order, the last one ranks.
    const Answer two = api.submit(both.text, "Ann");
    ASSERT_EQ(two.status, 202) << two.text;
    const Answer three = api.submit(both.text + "tick 40\n", "Ann");
    ASSERT_EQ(three.status, 202) << three.text;
    const Answer last = api.verdict(three.body["id"]);
    EXPECT_EQ(last.body["ranked"], true) << last.text;
    for (const Answer* replaced : {&one, &two}) {
        const Answer verdict = api.verdict(replaced->body["id"]);
        EXPECT_EQ(verdict.body["status"], "verified");
        EXPECT_EQ(verdict.body["ranked"], false);
        EXPECT_NE(verdict.body.value("unranked_reason", "").find("replaced by the longer"),
                  std::string::npos)
            << verdict.text;
    }
    clock_.ms += 2000;  // the table from memory is a second old at most
    const Answer table = api.get("/api/scores");
    ASSERT_EQ(table.body["scores"].size(), 1u) << table.text;
    EXPECT_EQ(table.body["scores"][0]["recording"], three.body["id"]);
    EXPECT_EQ(table.body["scores"][0]["score"], std::max(both.games[0].score, both.games[1].score));
    EXPECT_EQ(api.submit(first, "Ann").status, 200) << "known bytes, as before";
}

TEST_P(Acceptance, BadRequestsGetAClearAnswerAndChangeNothing) {
    RunningServer server(testOptions(db_), clock_);
    ApiClient api(server.port());
    const PlayedGames game = playFromTicket(api);
    ASSERT_EQ(api.submit(game.text, "Ann", "ann-key-0123456789").status, 202);

    const Answer garbage = api.submit("this is not a recording\n", "Zed");
    EXPECT_EQ(garbage.status, 400);
    EXPECT_EQ(garbage.body["error"], "recording:1: unknown command \"this\"");

    const Answer huge = api.submit(std::string(3 << 20, 'x'), "Zed");
    EXPECT_EQ(huge.status, 413) << huge.text;
    EXPECT_NE(huge.body.value("error", "").find("larger"), std::string::npos);

    // More than four hours of play: refused before any tick.
    std::string tooLong = "clock 1500000000\nseed 1\nsize 740x580\n";
    for (int i = 0; i < 10; ++i) tooLong += "tick 100000\n";
    const Answer hours = api.submit(tooLong, "Zed");
    EXPECT_EQ(hours.status, 400);
    EXPECT_NE(hours.body.value("error", "").find("recording:13:"), std::string::npos) << hours.text;

    EXPECT_EQ(api.submit(game.text + "tick 1\n", "Ann", "").status, 401) << "no key";
    EXPECT_EQ(api.submit(game.text + "tick 2\n", "Ann", "short").status, 400);
    const Answer taken = api.submit(game.text + "tick 3\n", "aNN", "another-key-0123456789");
    EXPECT_EQ(taken.status, 403) << "the name belongs to Ann's key";
    EXPECT_EQ(api.submit(game.text + "tick 4\n", "Ann\x7f", "zed-key-0123456789").status, 400);
    EXPECT_EQ(api.submit(game.text + "tick 5\n", std::string(21, 'a'), "zed-key-0123456789").status,
              400);

    EXPECT_EQ(api.get("/api/recordings/" + std::string(64, 'a')).status, 404);
    EXPECT_EQ(api.get("/api/scores?limit=0").status, 400);
    EXPECT_EQ(api.get("/api/scores?limit=abc").status, 400);
    EXPECT_EQ(api.get("/api/players/nobody").status, 404);
    EXPECT_EQ(api.get("/api/health").status, 200);
    const Answer metrics = api.get("/metrics");
    EXPECT_NE(metrics.text.find(
                  "kolvane_requests_total{route=\"POST /api/recordings\",status=\"413\"} 1"),
              std::string::npos)
        << metrics.text;
    EXPECT_NE(metrics.text.find("kolvane_queue_depth"), std::string::npos);

    // Only the genuine game was kept.
    EXPECT_EQ(api.verdict(sha256Hex(game.text)).body["status"], "verified");
    EXPECT_EQ(api.get("/api/scores").body["scores"].size(), 1u);
}

TEST(CpuCap, AVerificationPastItIsStoppedAndRejected) {
    TestClock clock;
    ServerOptions options = testOptions((scratchDir() / "leaderboard.sqlite").string());
    options.cpuCapSeconds = 1;
    RunningServer server(options, clock);
    ApiClient api(server.port());
    // Four hours of play less a little, which take longer than a second.
    std::string hours = "clock 1500000000\nseed 1\nsize 740x580\ntick 10\npress S\n";
    for (int i = 0; i < 9; ++i) hours += "tick 100000\n";
    hours += "# game 1: score 0, level 1, ended at tick 1500\n";
    const Answer queued = api.submit(hours, "Ann");
    ASSERT_EQ(queued.status, 202) << queued.text;
    const Answer verdict = api.verdict(queued.body["id"]);
    EXPECT_EQ(verdict.body["status"], "rejected");
    EXPECT_EQ(verdict.body["reason"], "verification took more than 1 s of processor time");
}

// Limits per client: a rate of submissions (429 with Retry-After), and a
// client that stops sending is cut off by the read timeout.
TEST(Limits, TooFastOrTooSlowClientsAreCutOff) {
    TestClock clock;
    ServerOptions options = testOptions((scratchDir() / "leaderboard.sqlite").string());
    options.submitsPerMinute = 3;
    RunningServer server(options, clock);
    ApiClient api(server.port());
    EXPECT_EQ(api.submit("x", "Ann").status, 400);
    const Answer tooMany = api.submit("y", "Ann");
    EXPECT_EQ(tooMany.status, 429);
    EXPECT_EQ(tooMany.headers.find("Retry-After")->second, "20");
    clock.ms += 20000;
    EXPECT_EQ(api.submit("z", "Ann").status, 400);

    // Headers, then nothing of the body it announced.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(server.port()));
    ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string head =
        "POST /api/recordings?player=Ann HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nclock";
    ASSERT_EQ(::send(s, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    timeval wait{kReadTimeoutSeconds * 3, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char buffer[512];
    ssize_t n = 0;
    std::string answer;
    while ((n = ::recv(s, buffer, sizeof buffer, 0)) > 0)
        answer.append(buffer, static_cast<std::size_t>(n));
    EXPECT_EQ(n, 0) << "the server closed the connection";
    ::close(s);
}

INSTANTIATE_TEST_SUITE_P(Server, Acceptance,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres),
                         [](const auto& info) {
                             return info.param == Backend::kSqlite ? "SQLite" : "PostgreSQL";
                         });

// Two servers on one PostgreSQL: a ticket from one, the game submitted to
// the other, verified by whichever worker takes it, the same table on both.
TEST(SharedPostgres, TwoServersAreOneLeaderboard) {
    TestPostgres postgres;
    ASSERT_FALSE(postgres.url().empty());
    TestClock clock;
    RunningServer a(testOptions(postgres.url(), 1), clock);
    RunningServer b(testOptions(postgres.url(), 1), clock);
    ApiClient apiA(a.port());
    ApiClient apiB(b.port());
    std::vector<std::string> ids;
    for (int i = 0; i < 4; ++i) {
        const auto [token, start] = (i % 2 == 0 ? apiA : apiB).ticket();
        const PlayedGames played = playGames(start, token);
        clock.ms += played.ticks * 15 + 1000;
        const Answer queued = (i % 2 == 0 ? apiB : apiA)
                                  .submit(played.text, "Player " + std::to_string(i),
                                          "key-of-player-" + std::to_string(i) + "-0123");
        ASSERT_EQ(queued.status, 202) << queued.text;
        ids.push_back(queued.body["id"]);
        // Its ticket is spent on both servers (but for its own session gone on).
        EXPECT_EQ(apiA.submit(played.text + "tick 1\n", "Other " + std::to_string(i),
                              "key-of-other-" + std::to_string(i) + "-0123")
                      .status,
                  409);
    }
    for (const std::string& id : ids) {
        EXPECT_EQ(apiA.verdict(id).body["ranked"], true) << apiA.verdict(id).text;
        EXPECT_EQ(apiB.verdict(id).body["ranked"], true);
    }
    // The table is answered from memory for up to a second.
    clock.ms += 2000;
    const Answer tableA = apiA.get("/api/scores");
    EXPECT_EQ(tableA.body["scores"].size(), 4u) << tableA.text;
    EXPECT_EQ(tableA.text, apiB.get("/api/scores").text);
    // Each verdict gives its entry's place in the table.
    for (const json& entry : tableA.body["scores"]) {
        EXPECT_EQ(apiB.verdict(entry["recording"]).body["rank"], entry["rank"]) << tableA.text;
    }
}

}  // namespace
}  // namespace kolvane::server::testing
