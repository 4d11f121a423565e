// The HTTP client on Windows: WinHTTP, which comes with the system and
// verifies TLS against its certificate store. One session and one connection
// handle for the server, so its connection is kept between requests. WinHTTP
// has time-outs for each step only: before each blocking call they are set to
// what is left of the request's total, and the total is checked between
// reads. cancel() closes the request in flight, which ends a blocking call at
// once.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <mutex>

#include "app/network/http_client.h"
#include "app/version.h"

namespace kolvane {

namespace {

using Clock = std::chrono::steady_clock;

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

// How close to the deadline a failure counts as the time-out.
constexpr std::chrono::milliseconds kTimeoutSlack{20};

HttpFailure failureOf(DWORD code) {
    switch (code) {
        case ERROR_WINHTTP_TIMEOUT:
            return HttpFailure::kTimeout;
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        case ERROR_WINHTTP_CONNECTION_ERROR:
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return HttpFailure::kUnreachable;
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
        case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
            return HttpFailure::kTls;
        case ERROR_WINHTTP_OPERATION_CANCELLED:
            return HttpFailure::kCancelled;
        default:
            return HttpFailure::kOther;
    }
}

// Where a request goes, from its address.
struct Target {
    std::wstring host;
    INTERNET_PORT port = 0;
    bool secure = false;
    std::wstring pathAndQuery;
};

bool crack(const std::string& url, Target& target) {
    const std::wstring w = wide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(w.c_str(), static_cast<DWORD>(w.size()), 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.port = parts.nPort;
    target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    target.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.pathAndQuery.empty()) target.pathAndQuery = L"/";
    return true;
}

class WinHttpClient final : public HttpClient {
public:
    WinHttpClient(const HttpTimeouts& timeouts, HINTERNET session)
        : timeouts_(timeouts), session_(session) {}
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;
    ~WinHttpClient() override {
        if (connection_ != nullptr) ::WinHttpCloseHandle(connection_);
        ::WinHttpCloseHandle(session_);
    }

    HttpResponse send(const HttpRequest& request) override;

    void cancel() override {
        cancelled_ = true;
        closeRequest();
    }

private:
    // Ends the request in flight, from any thread.
    void closeRequest() {
        const std::lock_guard lock(requestMutex_);
        if (request_ != nullptr) {
            ::WinHttpCloseHandle(request_);
            request_ = nullptr;
        }
    }
    static void CALLBACK deadlinePassed(void* self, BOOLEAN) {
        auto* client = static_cast<WinHttpClient*>(self);
        client->timedOut_ = true;
        client->closeRequest();
    }

    // The connection handle for the target's server, kept between requests.
    HINTERNET connectionFor(const Target& target);
    // The request handle, or null once cancel() has closed it.
    HINTERNET current() {
        const std::lock_guard lock(requestMutex_);
        return request_;
    }
    // Sets every step's time-out to what is left; false when nothing is.
    bool limitSteps(HINTERNET request, Clock::time_point deadline);
    // Reads the answer's body within the cap and the deadline.
    HttpFailure readBody(HINTERNET request, const HttpRequest& asked, Clock::time_point deadline,
                         std::string& body, DWORD& code);

    HttpTimeouts timeouts_;
    HINTERNET session_;
    HINTERNET connection_ = nullptr;
    std::wstring connectedHost_;
    INTERNET_PORT connectedPort_ = 0;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> timedOut_{false};
    std::mutex requestMutex_;
    HINTERNET request_ = nullptr;
};

HINTERNET WinHttpClient::connectionFor(const Target& target) {
    if (connection_ != nullptr && connectedHost_ == target.host && connectedPort_ == target.port) {
        return connection_;
    }
    if (connection_ != nullptr) ::WinHttpCloseHandle(connection_);
    connection_ = ::WinHttpConnect(session_, target.host.c_str(), target.port, 0);
    connectedHost_ = target.host;
    connectedPort_ = target.port;
    return connection_;
}

bool WinHttpClient::limitSteps(HINTERNET request, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    // 0 would mean no limit at all.
    const int total = static_cast<int>(std::max<long long>(left, 1));
    const int connect = std::min(total, timeouts_.connectMs);
    DWORD headers = static_cast<DWORD>(total);
    ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headers, sizeof headers);
    return ::WinHttpSetTimeouts(request, connect, connect, total, total) != 0;
}

HttpFailure WinHttpClient::readBody(HINTERNET request, const HttpRequest& asked,
                                    Clock::time_point deadline, std::string& body, DWORD& code) {
    // An answer that announces more than the cap is refused before its body.
    DWORD length = 0;
    DWORD size = sizeof length;
    if (::WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                              WINHTTP_HEADER_NAME_BY_INDEX, &length, &size,
                              WINHTTP_NO_HEADER_INDEX) &&
        length > asked.maxResponseBytes) {
        return HttpFailure::kTooLarge;
    }
    char buffer[16384];
    for (;;) {
        if (!limitSteps(request, deadline)) return HttpFailure::kTimeout;
        DWORD read = 0;
        if (!::WinHttpReadData(request, buffer, sizeof buffer, &read)) {
            code = ::GetLastError();
            return failureOf(code);
        }
        if (read == 0) return HttpFailure::kNone;
        if (body.size() + read > asked.maxResponseBytes) return HttpFailure::kTooLarge;
        body.append(buffer, read);
    }
}

HttpResponse WinHttpClient::send(const HttpRequest& asked) {
    HttpResponse response;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts_.totalMs);
    Target target;
    DWORD code = 0;
    HINTERNET connection = nullptr;
    if (!crack(asked.url, target)) {
        response.failure = HttpFailure::kOther;
        response.error = "not an http or https address";
        return response;
    }
    if (!cancelled_) connection = connectionFor(target);
    HINTERNET request = nullptr;
    if (connection != nullptr) {
        request = ::WinHttpOpenRequest(
            connection, asked.method == HttpMethod::kPost ? L"POST" : L"GET",
            target.pathAndQuery.c_str(), nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
            target.secure ? WINHTTP_FLAG_SECURE : 0);
    }
    {
        const std::lock_guard lock(requestMutex_);
        request_ = cancelled_ ? nullptr : request;
        if (cancelled_ && request != nullptr) ::WinHttpCloseHandle(request);
    }
    request = current();
    if (request == nullptr) {
        response.failure = cancelled_ ? HttpFailure::kCancelled : HttpFailure::kOther;
        response.error = std::string(httpFailureName(response.failure));
        return response;
    }
    // The whole request's time-out, whatever the steps do.
    timedOut_ = false;
    HANDLE timer = nullptr;
    ::CreateTimerQueueTimer(&timer, nullptr, deadlinePassed, this,
                            static_cast<DWORD>(std::max(timeouts_.totalMs, 1)), 0,
                            WT_EXECUTEONLYONCE);
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    ::WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);

    std::wstring headers;
    if (!asked.contentType.empty())
        headers += L"Content-Type: " + wide(asked.contentType) + L"\r\n";
    if (!asked.bearer.empty()) headers += L"Authorization: Bearer " + wide(asked.bearer) + L"\r\n";
    const auto bodySize = static_cast<DWORD>(asked.body.size());
    void* body = bodySize == 0 ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(asked.body.data());
    response.failure = HttpFailure::kTimeout;
    if (!limitSteps(request, deadline)) {
        // out of time before sending
    } else if (!::WinHttpSendRequest(
                   request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                   static_cast<DWORD>(-1), body, bodySize, bodySize, 0) ||
               (limitSteps(request, deadline) && !::WinHttpReceiveResponse(request, nullptr))) {
        code = ::GetLastError();
        response.failure = failureOf(code);
    } else if (Clock::now() < deadline) {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                  WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                                  WINHTTP_NO_HEADER_INDEX)) {
            response.status = static_cast<int>(status);
            response.failure = readBody(request, asked, deadline, response.body, code);
        } else {
            response.failure = HttpFailure::kOther;
        }
    }
    // Waits for a timer callback that has started.
    if (timer != nullptr) ::DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
    if (timedOut_) response.failure = HttpFailure::kTimeout;
    // A step that failed as the time ran out failed for the time: Wine's
    // WinHTTP can end a stalled read with another code, before our timer runs.
    if (response.failure == HttpFailure::kOther && Clock::now() + kTimeoutSlack >= deadline) {
        response.failure = HttpFailure::kTimeout;
    }
    if (cancelled_) response.failure = HttpFailure::kCancelled;
    closeRequest();
    if (response.failure == HttpFailure::kNone) return response;
    response.status = 0;
    response.body.clear();
    response.error = std::string(httpFailureName(response.failure));
    if (response.failure == HttpFailure::kTooLarge) {
        response.error += " (more than " + std::to_string(asked.maxResponseBytes) + " bytes)";
    } else if (code != 0 && response.failure != HttpFailure::kCancelled) {
        response.error += ": WinHTTP error " + std::to_string(code);
    }
    return response;
}

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(const HttpTimeouts& timeouts, std::string& error) {
    const std::wstring agent = L"Kolvane/" + wide(kVersion);
    HINTERNET session = ::WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) {
        error = "cannot start WinHTTP: error " + std::to_string(::GetLastError());
        return nullptr;
    }
    return std::make_unique<WinHttpClient>(timeouts, session);
}

}  // namespace kolvane
