#pragma once
// The API over HTTP (cpp-httplib): routes each request to the leaderboard,
// serves the web page's files, adds CORS headers, counts every answer for
// /metrics. Its limits: a body over kMaxRecordingBytes is refused (413) from
// its Content-Length and never kept; every read waits at most
// kReadTimeoutSeconds and a whole body kBodyDeadlineSeconds, so a slow or
// stalled client is cut off. A body too large is answered 413 at once when
// the client waits for "100 Continue" or announces more than
// kMaxDiscardBytes; a smaller one is read and dropped first, so that a client
// that sends it whole still reads the answer.
#include <cstddef>
#include <memory>
#include <string>

#include "server/leaderboard.h"
#include "server/metrics.h"

namespace httplib {
class Server;
}

namespace kolvane::server {

inline constexpr int kReadTimeoutSeconds = 5;
inline constexpr int kBodyDeadlineSeconds = 30;
inline constexpr std::size_t kMaxDiscardBytes = std::size_t{16} << 20;

struct HttpSettings {
    std::string host = "127.0.0.1";
    int port = 8080;  // 0: any free port
    int threads = 64;
    std::string webDir;
    std::string cors;
    bool behindProxy = false;
};

class HttpFront {
public:
    HttpFront(Leaderboard& leaderboard, Metrics& metrics, HttpSettings settings);
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    // Binds the address; false with error set when it can't.
    bool bind(std::string& error);
    int port() const { return port_; }
    // Answers requests until stop().
    void run();
    void stop();

private:
    void routes();

    Leaderboard& leaderboard_;
    Metrics& metrics_;
    HttpSettings settings_;
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
};

// The route a request took, as /metrics names it ("/api/recordings/{id}").
std::string routeName(const std::string& method, const std::string& path);

}  // namespace kolvane::server
