#pragma once
// A stand-in for kolvane-server on loopback (cpp-httplib), for the client's
// tests: the leaderboard's API with the same statuses and JSON, a verifier
// that believes a recording's game lines unless it says "forged", and a few
// routes that misbehave on purpose (/test/...). Linux only; the Windows tests
// reach it as a separate program (fake_leaderboard_main.cpp).
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace kolvane::testing {

class FakeLeaderboard {
public:
    // Listens on 127.0.0.1:port (0: a free port). tlsFolder: serve HTTPS with
    // the certificate and key there (cert.pem, key.pem). readBytesPerSecond:
    // read each submission's body no faster (0: at once), so that a
    // submission stays in flight (the pacing benchmark's).
    explicit FakeLeaderboard(int port = 0, const std::string& tlsFolder = "",
                             int readBytesPerSecond = 0);
    ~FakeLeaderboard();
    FakeLeaderboard(const FakeLeaderboard&) = delete;
    FakeLeaderboard& operator=(const FakeLeaderboard&) = delete;

    std::string url() const;
    int port() const { return port_; }

    // The next request to /api/ gets this answer instead.
    void answerNextWith(int status, std::string body);
    // Every request to /api/ waits from now on, until release().
    void stallApi();
    // Ends every wait of /test/stall and of a stalled API.
    void release();

    // Recordings stored (new bytes), and every submission received.
    int stored() const;
    int submissionsReceived() const { return submissions_; }

private:
    struct Entry {
        std::string bytes;
        std::string player;
        int polls = 0;
        int submittedAt = 0;
    };
    void addRoutes();
    void submit(const httplib::Request& req, const std::string& body, httplib::Response& res);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    bool tls_ = false;
    int readBytesPerSecond_ = 0;

    mutable std::mutex mutex_;
    std::map<std::string, Entry> recordings_;    // by id
    std::map<std::string, std::string> owners_;  // name -> key
    std::vector<std::string> order_;             // ids as stored
    int nextStatus_ = 0;
    std::string nextBody_;
    std::atomic<int> submissions_{0};
    std::atomic<int> tickets_{0};
    std::condition_variable released_;
    bool releasedAll_ = false;
    bool stallApi_ = false;
};

// A self-signed certificate for 127.0.0.1 made with the openssl program in
// folder (cert.pem, key.pem); false when openssl is missing.
bool makeSelfSignedCertificate(const std::string& folder);

}  // namespace kolvane::testing
