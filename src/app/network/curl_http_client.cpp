// The HTTP client on Linux and other Unix systems: libcurl. One easy handle
// reused for every request keeps its connection open between them; the multi
// interface drives it so that cancel() can wake a request that waits on the
// network at once.
#include <curl/curl.h>

#include <atomic>
#include <mutex>

#include "app/network/http_client.h"
#include "app/version.h"

namespace kolvane {

namespace {

// The answer's bytes, up to the cap.
struct Sink {
    std::string* body = nullptr;
    std::size_t cap = 0;
    bool overflowed = false;
};

std::size_t keepBytes(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    if (sink->body->size() + n > sink->cap) {
        sink->overflowed = true;
        return 0;  // aborts the transfer with CURLE_WRITE_ERROR
    }
    sink->body->append(data, n);
    return n;
}

HttpFailure failureOf(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return HttpFailure::kNone;
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            return HttpFailure::kUnreachable;
        case CURLE_OPERATION_TIMEDOUT:
            return HttpFailure::kTimeout;
        case CURLE_FILESIZE_EXCEEDED:
            return HttpFailure::kTooLarge;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_USE_SSL_FAILED:
            return HttpFailure::kTls;
        default:
            return HttpFailure::kOther;
    }
}

class CurlHttpClient final : public HttpClient {
public:
    CurlHttpClient(const HttpTimeouts& timeouts, CURLM* multi, CURL* easy)
        : timeouts_(timeouts), multi_(multi), easy_(easy) {}
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;
    ~CurlHttpClient() override {
        curl_easy_cleanup(easy_);
        curl_multi_cleanup(multi_);
    }

    HttpResponse send(const HttpRequest& request) override;

    void cancel() override {
        cancelled_ = true;
        curl_multi_wakeup(multi_);
    }

private:
    // Sets every option of one request on the reused handle.
    void prepare(const HttpRequest& request, Sink& sink, curl_slist*& headers);
    // Runs the transfer until it ends or cancel() is called.
    CURLcode run();

    HttpTimeouts timeouts_;
    CURLM* multi_;
    CURL* easy_;
    std::atomic<bool> cancelled_{false};
    char detail_[CURL_ERROR_SIZE] = {};
};

void CurlHttpClient::prepare(const HttpRequest& request, Sink& sink, curl_slist*& headers) {
    // Reset keeps the open connection and the TLS session; options start anew.
    curl_easy_reset(easy_);
    curl_easy_setopt(easy_, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts_.connectMs));
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts_.totalMs));
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
    // Loopback never goes through a proxy the environment names.
    curl_easy_setopt(easy_, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, (std::string("Kolvane/") + kVersion).c_str());
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, detail_);
    // An answer that announces more than the cap is refused before its body.
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.cap));
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, keepBytes);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &sink);

    // No "Expect: 100-continue" pause before a body.
    headers = curl_slist_append(headers, "Expect:");
    if (!request.bearer.empty()) {
        headers = curl_slist_append(headers, ("Authorization: Bearer " + request.bearer).c_str());
    }
    if (request.method == HttpMethod::kPost) {
        if (!request.contentType.empty()) {
            headers = curl_slist_append(headers, ("Content-Type: " + request.contentType).c_str());
        }
        curl_easy_setopt(easy_, CURLOPT_POST, 1L);
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
    } else {
        curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers);
}

CURLcode CurlHttpClient::run() {
    curl_multi_add_handle(multi_, easy_);
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    for (bool done = false; !done;) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int left = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (done || cancelled_) break;
        // Wakes on the socket, on curl's own timers, or on cancel().
        curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
    // The connection stays in the multi handle's cache for the next request.
    curl_multi_remove_handle(multi_, easy_);
    return result;
}

HttpResponse CurlHttpClient::send(const HttpRequest& request) {
    HttpResponse response;
    if (cancelled_) {
        response.failure = HttpFailure::kCancelled;
        response.error = std::string(httpFailureName(response.failure));
        return response;
    }
    Sink sink{&response.body, request.maxResponseBytes};
    curl_slist* headers = nullptr;
    detail_[0] = '\0';
    prepare(request, sink, headers);
    const CURLcode code = run();
    curl_slist_free_all(headers);
    if (cancelled_) {
        response.failure = HttpFailure::kCancelled;
    } else if (sink.overflowed) {
        response.failure = HttpFailure::kTooLarge;
    } else {
        response.failure = failureOf(code);
    }
    if (response.failure == HttpFailure::kNone) {
        long status = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        response.status = static_cast<int>(status);
        return response;
    }
    response.body.clear();
    response.error = std::string(httpFailureName(response.failure));
    if (response.failure == HttpFailure::kTooLarge) {
        response.error += " (more than " + std::to_string(request.maxResponseBytes) + " bytes)";
    } else if (response.failure != HttpFailure::kCancelled) {
        response.error +=
            std::string(": ") + (detail_[0] != '\0' ? detail_ : curl_easy_strerror(code));
    }
    return response;
}

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(const HttpTimeouts& timeouts, std::string& error) {
    static std::once_flag started;
    static CURLcode startCode = CURLE_OK;
    std::call_once(started, [] { startCode = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (startCode != CURLE_OK) {
        error = std::string("cannot start libcurl: ") + curl_easy_strerror(startCode);
        return nullptr;
    }
    CURLM* multi = curl_multi_init();
    CURL* easy = curl_easy_init();
    if (multi == nullptr || easy == nullptr) {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        error = "cannot start libcurl";
        return nullptr;
    }
    return std::make_unique<CurlHttpClient>(timeouts, multi, easy);
}

}  // namespace kolvane
