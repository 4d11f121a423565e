#include "server/http_front.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>

#include "server/recording_check.h"

namespace kolvane::server {

namespace {

constexpr const char* kId = "([0-9a-f]{64})";
constexpr std::size_t kKeepAliveRequests = 100000;

void send(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    for (const auto& [name, value] : reply.headers) res.set_header(name, value);
    res.set_content(reply.body, reply.contentType);
}

bool isLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" || address == "::ffff:127.0.0.1";
}

}  // namespace

std::string routeName(const std::string& method, const std::string& path) {
    if (path.rfind("/api/", 0) != 0 && path != "/metrics")
        return method == "GET" ? "/ (files)" : "other";
    if (method == "OPTIONS") return "OPTIONS /api";
    if (path == "/api/tickets" || path == "/api/recordings" || path == "/api/scores" ||
        path == "/api/health" || path == "/metrics") {
        return method + " " + path;
    }
    if (path.rfind("/api/recordings/", 0) == 0) {
        return method + (path.size() > 5 && path.substr(path.size() - 5) == "/file"
                             ? " /api/recordings/{id}/file"
                             : " /api/recordings/{id}");
    }
    if (path.rfind("/api/players/", 0) == 0) return method + " /api/players/{name}";
    return "other";
}

HttpFront::HttpFront(Leaderboard& leaderboard, Metrics& metrics, HttpSettings settings)
    : leaderboard_(leaderboard),
      metrics_(metrics),
      settings_(std::move(settings)),
      http_(std::make_unique<httplib::Server>()) {
    const int threads = settings_.threads;
    http_->new_task_queue = [threads] {
        return new httplib::ThreadPool(static_cast<std::size_t>(threads));
    };
    http_->set_read_timeout(kReadTimeoutSeconds, 0);
    http_->set_write_timeout(kReadTimeoutSeconds, 0);
    http_->set_keep_alive_max_count(kKeepAliveRequests);
    http_->set_keep_alive_timeout(kReadTimeoutSeconds);
    http_->set_payload_max_length(kMaxRecordingBytes);
    http_->set_tcp_nodelay(true);
    routes();
}

HttpFront::~HttpFront() = default;

void HttpFront::routes() {
    const auto address = [this](const httplib::Request& req) {
        if (settings_.behindProxy && isLoopback(req.remote_addr)) {
            const std::string forwarded = req.get_header_value("X-Forwarded-For");
            const std::size_t comma = forwarded.rfind(',');
            std::string last = forwarded.substr(comma == std::string::npos ? 0 : comma + 1);
            while (!last.empty() && last.front() == ' ') last.erase(0, 1);
            if (!last.empty()) return last;
        }
        return req.remote_addr;
    };

    // The API's answers: never cached, and callable from the --cors origin.
    const auto decorate = [cors = settings_.cors](const httplib::Request& req,
                                                  httplib::Response& res) {
        if (req.path.rfind("/api/", 0) != 0) return;
        res.set_header("Cache-Control", "no-store");
        if (cors.empty()) return;
        res.set_header("Access-Control-Allow-Origin", cors);
        if (cors != "*") res.set_header("Vary", "Origin");
    };

    // A body too large is refused from its length, before any of it is read:
    // at once for a client that waits for "100 Continue" or announces more
    // than kMaxDiscardBytes (the connection is then closed); otherwise after
    // its bytes are read and dropped, so that any client sees the answer.
    const auto tooLarge = [](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_header("Content-Length")) return false;
        const std::uint64_t length = req.get_header_value<std::uint64_t>("Content-Length");
        const bool waits = req.get_header_value("Expect") == "100-continue";
        if (length <= kMaxRecordingBytes || (!waits && length <= kMaxDiscardBytes)) return false;
        send(res, errorReply(413, "the recording is larger than " +
                                      std::to_string(kMaxRecordingBytes) + " bytes"));
        res.set_header("Connection", "close");
        return true;
    };
    http_->set_expect_100_continue_handler(
        [tooLarge](const httplib::Request& req, httplib::Response& res) {
            return tooLarge(req, res) ? 413 : 100;
        });
    // A ticket is answered before any body is read: it takes none, and a
    // POST without a Content-Length is fine for it.
    http_->set_pre_routing_handler(
        [this, address, tooLarge, decorate](const httplib::Request& req, httplib::Response& res) {
            if (tooLarge(req, res)) {
                decorate(req, res);
                return httplib::Server::HandlerResponse::Handled;
            }
            if (req.method == "POST" && req.path == "/api/tickets") {
                send(res, leaderboard_.issueTicket(address(req)));
                if (req.get_header_value<std::uint64_t>("Content-Length") > 0)
                    res.set_header("Connection", "close");
                decorate(req, res);
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });

    http_->Post("/api/recordings", [this, address](const httplib::Request& req,
                                                   httplib::Response& res,
                                                   const httplib::ContentReader& reader) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(kBodyDeadlineSeconds);
        std::string body;
        bool late = false;
        bool large = req.get_header_value<std::uint64_t>("Content-Length") > kMaxRecordingBytes;
        const bool whole = reader([&](const char* data, std::size_t length) {
            if (std::chrono::steady_clock::now() > deadline) return !(late = true);
            if (body.size() + length > kMaxRecordingBytes) return !(large = true);
            body.append(data, length);
            return true;
        });
        if (late) {
            send(res, errorReply(408, "the recording took more than " +
                                          std::to_string(kBodyDeadlineSeconds) + " s to arrive"));
            res.set_header("Connection", "close");
            return;
        }
        if (!whole && !large) {
            send(res, errorReply(400, "the recording did not arrive whole"));
            res.set_header("Connection", "close");
            return;
        }
        if (large) {
            send(res, errorReply(413, "the recording is larger than " +
                                          std::to_string(kMaxRecordingBytes) + " bytes"));
            res.set_header("Connection", "close");
            return;
        }
        send(res, leaderboard_.submit(address(req), req.get_param_value("player"),
                                      req.get_header_value("Authorization"), body));
    });

    http_->Get(std::string("/api/recordings/") + kId,
               [this](const httplib::Request& req, httplib::Response& res) {
                   send(res, leaderboard_.recording(req.matches[1]));
               });
    http_->Get(std::string("/api/recordings/") + kId + "/file",
               [this](const httplib::Request& req, httplib::Response& res) {
                   send(res, leaderboard_.file(req.matches[1]));
               });
    http_->Get("/api/scores", [this](const httplib::Request& req, httplib::Response& res) {
        send(res, leaderboard_.scores(req.get_param_value("limit"), req.get_param_value("offset")));
    });
    http_->Get("/api/players/(.+)", [this](const httplib::Request& req, httplib::Response& res) {
        send(res, leaderboard_.player(req.matches[1].str(), req.get_param_value("limit"),
                                      req.get_param_value("offset")));
    });
    http_->Get("/api/health", [this](const httplib::Request&, httplib::Response& res) {
        send(res, leaderboard_.health());
    });
    http_->Get("/metrics", [this](const httplib::Request&, httplib::Response& res) {
        send(res, leaderboard_.metrics());
    });

    if (!settings_.cors.empty()) {
        http_->Options("/api/.*", [](const httplib::Request&, httplib::Response& res) {
            res.status = 204;
            res.set_header("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
            res.set_header("Access-Control-Allow-Headers", "Authorization, Content-Type");
            res.set_header("Access-Control-Max-Age", "600");
        });
    }
    http_->set_post_routing_handler(
        [decorate](const httplib::Request& req, httplib::Response& res) { decorate(req, res); });
    http_->set_error_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return;
        if (res.status == 404) {
            send(res, errorReply(404, "nothing at " + req.path));
        } else if (res.status == 413) {
            send(res, errorReply(413, "the recording is larger than " +
                                          std::to_string(kMaxRecordingBytes) + " bytes"));
        } else {
            send(res, errorReply(res.status, "the request cannot be answered"));
        }
    });
    http_->set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        metrics_.request(routeName(req.method, req.path), res.status);
    });
    if (!settings_.webDir.empty()) {
        http_->set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
        http_->set_mount_point("/", settings_.webDir);
        // How the page knows, without a request, that the server it came
        // from is a leaderboard: the page reads this from its own load's
        // timing (src/app/web/world.js).
        http_->set_file_request_handler([](const httplib::Request&, httplib::Response& res) {
            res.set_header("Server-Timing", "kolvane-leaderboard");
        });
    }
}

bool HttpFront::bind(std::string& error) {
    if (!settings_.webDir.empty() && !std::filesystem::is_directory(settings_.webDir)) {
        error = "--web: \"" + settings_.webDir + "\" is not a folder";
        return false;
    }
    if (settings_.port == 0) {
        port_ = http_->bind_to_any_port(settings_.host);
    } else if (http_->bind_to_port(settings_.host, settings_.port)) {
        port_ = settings_.port;
    } else {
        port_ = -1;
    }
    if (port_ <= 0) {
        error = "cannot listen on " + settings_.host + ":" + std::to_string(settings_.port) +
                " (in use, or not an address of this machine)";
        return false;
    }
    return true;
}

void HttpFront::run() {
    http_->listen_after_bind();
}

void HttpFront::stop() {
    http_->stop();
}

}  // namespace kolvane::server
