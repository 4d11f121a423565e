// kolvane-server as people start it: the program itself, on a free loopback
// port, with its own verifier processes.
#include <gtest/gtest.h>

#include <fstream>

#include "server/server_harness.h"

namespace kolvane::server::testing {
namespace {

TEST(Program, StartsWithNoOptionsInAnEmptyFolderAndKeepsItsGames) {
    const fs::path home = scratchDir() / "home";
    fs::create_directories(home);
    const std::string listen = "KOLVANE_LISTEN=127.0.0.1:" + std::to_string(freePort());
    const std::vector<std::string> environment{"HOME=" + home.string(), "XDG_DATA_HOME", listen};
    const PlayedGames played = playGames(1600000000, std::nullopt);
    std::string id;
    {
        ServerProcess server({}, environment);
        ASSERT_TRUE(server.start()) << server.said();
        EXPECT_EQ(server.said(), "kolvane-server: listening on http://" + listen.substr(15) + "/");
        EXPECT_TRUE(fs::exists(home / ".local/share/kolvane-server/leaderboard.sqlite"));
        ApiClient api(server.port());
        EXPECT_EQ(api.get("/api/health").status, 200);
        const Answer queued = api.submit(played.text, "Ann");
        ASSERT_EQ(queued.status, 202) << queued.text;
        id = queued.body["id"];
        const Answer verdict = api.verdict(id);
        EXPECT_EQ(verdict.body["status"], "verified") << verdict.text;
        EXPECT_EQ(verdict.body["unranked_reason"], "played without a ticket");
        EXPECT_EQ(server.terminate(), 0);
    }
    ServerProcess again({}, environment);
    ASSERT_TRUE(again.start()) << again.said();
    ApiClient api(again.port());
    EXPECT_EQ(api.get("/api/recordings/" + id).body["games"][0]["score"], played.games[0].score);
}

TEST(Program, ServesThePageAndLetsAnotherOriginCall) {
    const fs::path site = scratchDir() / "site";
    fs::create_directories(site);
    std::ofstream(site / "index.html") << "<title>Kolvane</title>";
    ServerProcess server({"--listen", "127.0.0.1:0", "--db",
                          (site.parent_path() / "db.sqlite").string(), "--web", site.string(),
                          "--cors", "https://play.example"});
    ASSERT_TRUE(server.start()) << server.said();
    ApiClient api(server.port());
    const Answer page = api.get("/");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.text, "<title>Kolvane</title>");
    const Answer scores = api.get("/api/scores");
    EXPECT_EQ(scores.headers.find("Access-Control-Allow-Origin")->second, "https://play.example");
    httplib::Client client("127.0.0.1", server.port());
    const auto preflight = client.Options("/api/recordings");
    ASSERT_TRUE(preflight);
    EXPECT_EQ(preflight->status, 204);
    EXPECT_NE(preflight->get_header_value("Access-Control-Allow-Headers").find("Authorization"),
              std::string::npos);
}

TEST(Program, SaysWhatIsWrongWithItsOptions) {
    const std::string server = quoted(KOLVANE_SERVER);
    const Ran version = runCommand(server + " --version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("kolvane-server ", 0), 0u) << version.out;
    EXPECT_NE(runCommand(server + " --help").out.find("--verify-only"), std::string::npos);
    const Ran bad = runCommand(server + " --listen nowhere 2>&1");
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.out.find("--listen takes ADDR:PORT"), std::string::npos) << bad.out;
    const Ran noDb = runCommand(server + " --listen 127.0.0.1:0 --db /proc/nowhere/db.sqlite 2>&1");
    EXPECT_EQ(noDb.code, 1);
    EXPECT_NE(noDb.out.find("cannot open the database"), std::string::npos) << noDb.out;
}

}  // namespace
}  // namespace kolvane::server::testing
