#pragma once
// A small HTTP client, one request at a time, for the leaderboard: libcurl on
// Linux (curl_http_client.cpp), WinHTTP on Windows (winhttp_client.cpp); only
// those two files know the platform. Both verify TLS against the system's
// certificate authorities, reuse one connection across requests, give up on a
// connection after a connect time-out and on the whole request after a total
// time-out, cut off an answer larger than its cap, and follow no redirect.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kolvane {

enum class HttpMethod { kGet, kPost };

struct HttpRequest {
    HttpMethod method = HttpMethod::kGet;
    std::string url;          // absolute: http:// or https://
    std::string contentType;  // of the body; empty: no body
    std::string body;
    std::string bearer;  // the Authorization: Bearer credential; empty: none
    std::size_t maxResponseBytes = std::size_t{1} << 20;
};

// Why a request got no answer. kCancelled: cancel() was called.
enum class HttpFailure { kNone, kUnreachable, kTimeout, kTooLarge, kTls, kCancelled, kOther };

struct HttpResponse {
    HttpFailure failure = HttpFailure::kNone;
    std::string error;  // what went wrong, when failure is not kNone; never the credential
    int status = 0;     // the HTTP status, when failure is kNone
    std::string body;   // at most the request's maxResponseBytes
};

struct HttpTimeouts {
    int connectMs = 5000;  // to open the connection, TLS included
    int totalMs = 15000;   // for the whole request, from start to the last byte
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // Sends the request and waits for the whole answer, at most the total
    // time-out. Called from one thread at a time.
    virtual HttpResponse send(const HttpRequest& request) = 0;
    // From any thread: the request in flight, and every later one, ends soon
    // with kCancelled. For leaving at exit without waiting out a time-out.
    virtual void cancel() = 0;
};

// The platform's client. A null pointer when the platform's HTTP library can't
// start (error says why).
std::unique_ptr<HttpClient> makeHttpClient(const HttpTimeouts& timeouts, std::string& error);

// "connection refused", "timed out", ... for messages.
std::string_view httpFailureName(HttpFailure failure);

}  // namespace kolvane
