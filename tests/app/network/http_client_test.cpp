// The platform's HTTP client (libcurl, or WinHTTP under Wine) against a real
// server on loopback: answers, one connection, time-outs, the size cap, TLS,
// and cancelling.
#include "app/network/http_client.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "app/network/loopback_server.h"

namespace kolvane {
namespace {

using testing::LoopbackServer;

std::unique_ptr<HttpClient> client(int totalMs = 10000) {
    std::string error;
    auto http = makeHttpClient(HttpTimeouts{5000, totalMs}, error);
    EXPECT_NE(http, nullptr) << error;
    return http;
}

HttpRequest get(const std::string& url, std::size_t cap = 1 << 20) {
    return HttpRequest{HttpMethod::kGet, url, "", "", "", cap};
}

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (server_.url().empty()) GTEST_SKIP() << "no loopback server";
    }
    std::string at(const char* path) const { return server_.url() + path; }
    LoopbackServer server_;
};

TEST_F(HttpClientTest, SendsTheBodyTypeAndCredentialAndReadsTheAnswer) {
    auto http = client();
    const HttpResponse echo = http->send(
        {HttpMethod::kPost, at("/test/echo"), "text/plain", "tick 3\n", "0123abcd", 1 << 20});
    ASSERT_EQ(echo.failure, HttpFailure::kNone) << echo.error;
    EXPECT_EQ(echo.status, 200);
    const auto seen = nlohmann::json::parse(echo.body);
    EXPECT_EQ(seen["content_type"], "text/plain");
    EXPECT_EQ(seen["authorization"], "Bearer 0123abcd");
    EXPECT_EQ(seen["body"], "tick 3\n");

    // A refusal is an answer too, with its status.
    const HttpResponse missing = http->send(get(at("/api/recordings/nothing")));
    ASSERT_EQ(missing.failure, HttpFailure::kNone) << missing.error;
    EXPECT_EQ(missing.status, 404);
}

TEST_F(HttpClientTest, KeepsOneConnectionAcrossRequests) {
    auto http = client();
    const HttpResponse first = http->send(get(at("/test/whoami")));
    const HttpResponse second = http->send(get(at("/test/whoami")));
    ASSERT_EQ(first.status, 200) << first.error;
    ASSERT_EQ(second.status, 200) << second.error;
    // The server saw both from the same port: one connection.
    EXPECT_EQ(nlohmann::json::parse(first.body)["port"],
              nlohmann::json::parse(second.body)["port"]);
}

TEST_F(HttpClientTest, GivesUpOnAServerThatStalls) {
    auto http = client(300);
    const HttpResponse response = http->send(get(at("/test/stall")));
    EXPECT_EQ(response.failure, HttpFailure::kTimeout) << response.error;
    EXPECT_TRUE(response.body.empty());
}

TEST_F(HttpClientTest, CutsOffAnAnswerLargerThanItsCap) {
    auto http = client();
    const std::size_t cap = 100000;
    for (const char* how : {"", "&chunked=1"}) {
        const HttpResponse over = http->send(get(at("/test/big?bytes=100001") + how, cap));
        EXPECT_EQ(over.failure, HttpFailure::kTooLarge) << how << ": " << over.error;
        EXPECT_TRUE(over.body.empty());
        const HttpResponse fits = http->send(get(at("/test/big?bytes=100000") + how, cap));
        EXPECT_EQ(fits.failure, HttpFailure::kNone) << how << ": " << fits.error;
        EXPECT_EQ(fits.body.size(), cap);
    }
}

TEST_F(HttpClientTest, SaysWhenNothingListens) {
    auto http = client();
    const HttpResponse response = http->send(get("http://127.0.0.1:1/api/scores"));
    EXPECT_EQ(response.failure, HttpFailure::kUnreachable) << response.error;
}

TEST_F(HttpClientTest, CancelEndsTheRequestInFlightAndEveryLaterOne) {
    auto http = client(60000);
    HttpResponse stalled;
    std::thread request([&] { stalled = http->send(get(at("/test/stall"))); });
    http->cancel();
    request.join();
    EXPECT_EQ(stalled.failure, HttpFailure::kCancelled) << stalled.error;
    EXPECT_EQ(http->send(get(at("/test/whoami"))).failure, HttpFailure::kCancelled);
}

TEST(HttpClientTls, RefusesAServerWhoseCertificateNoAuthoritySigned) {
    const LoopbackServer server(/*tls=*/true);
    if (server.url().empty()) GTEST_SKIP() << "no TLS server (openssl missing)";
    auto http = client();
    const HttpResponse response = http->send(get(server.url() + "/api/scores?limit=1"));
    EXPECT_EQ(response.failure, HttpFailure::kTls) << response.error;
    EXPECT_TRUE(response.body.empty());
}

}  // namespace
}  // namespace kolvane
