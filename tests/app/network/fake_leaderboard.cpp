#include "app/network/fake_leaderboard.h"

#include <httplib.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "app/replay/recording.h"
#include "app/text/text_line.h"

namespace kolvane::testing {

namespace {

using Json = nlohmann::json;

std::string sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

void answer(httplib::Response& res, int status, const Json& body) {
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

std::vector<GameResult> gamesIn(std::string_view text) {
    std::vector<GameResult> games;
    while (!text.empty()) {
        if (const auto game = parseGameLine(takeLine(text))) games.push_back(*game);
    }
    return games;
}

std::int32_t bestScore(const std::vector<GameResult>& games) {
    std::int32_t best = 0;
    for (const GameResult& g : games) best = std::max(best, g.score);
    return best;
}

bool isForged(const std::string& bytes) {
    return bytes.find("forged") != std::string::npos;
}
bool hasTicket(const std::string& bytes) {
    return bytes.find("\nticket ") != std::string::npos;
}

}  // namespace

FakeLeaderboard::FakeLeaderboard(int port, const std::string& tlsFolder, int readBytesPerSecond)
    : tls_(!tlsFolder.empty()), readBytesPerSecond_(readBytesPerSecond) {
    if (tls_) {
        server_ = std::make_unique<httplib::SSLServer>((tlsFolder + "/cert.pem").c_str(),
                                                       (tlsFolder + "/key.pem").c_str());
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
    addRoutes();
    port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1")
                      : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() before the accept loop runs would be missed: wait for it (bounded).
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FakeLeaderboard::~FakeLeaderboard() {
    release();
    server_->stop();
    thread_.join();
}

std::string FakeLeaderboard::url() const {
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

void FakeLeaderboard::answerNextWith(int status, std::string body) {
    const std::lock_guard lock(mutex_);
    nextStatus_ = status;
    nextBody_ = std::move(body);
}

void FakeLeaderboard::stallApi() {
    const std::lock_guard lock(mutex_);
    stallApi_ = true;
}

void FakeLeaderboard::release() {
    {
        const std::lock_guard lock(mutex_);
        releasedAll_ = true;
    }
    released_.notify_all();
}

int FakeLeaderboard::stored() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(recordings_.size());
}

void FakeLeaderboard::submit(const httplib::Request& req, const std::string& body,
                             httplib::Response& res) {
    ++submissions_;
    const std::string auth = req.get_header_value("Authorization");
    const std::string player = req.get_param_value("player");
    if (auth.rfind("Bearer ", 0) != 0 || auth.size() != 7 + 64) {
        return answer(res, 401, {{"error", "a player key is needed"}});
    }
    if (body.rfind("# ", 0) != 0) return answer(res, 400, {{"error", "1: not a recording"}});
    const std::lock_guard lock(mutex_);
    const auto [owner, claimed] = owners_.emplace(player, auth);
    if (!claimed && owner->second != auth) {
        return answer(res, 403, {{"error", "the name " + player + " is another player's"}});
    }
    const std::string id = sha256Hex(body);
    const bool known = recordings_.count(id) != 0;
    if (!known) {
        recordings_[id] = Entry{body, player, 0, static_cast<int>(order_.size())};
        order_.push_back(id);
    }
    answer(res, known ? 200 : 202, {{"id", id}, {"status", "queued"}});
}

void FakeLeaderboard::addRoutes() {
    httplib::Server& s = *server_;
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        std::unique_lock lock(mutex_);
        if (stallApi_ && req.path.rfind("/api/", 0) == 0) {
            released_.wait_for(lock, std::chrono::seconds(10), [this] { return releasedAll_; });
        }
        if (nextStatus_ == 0 || req.path.rfind("/api/", 0) != 0) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        res.status = nextStatus_;
        res.set_content(nextBody_, "application/json");
        nextStatus_ = 0;
        return httplib::Server::HandlerResponse::Handled;
    });

    s.Post("/api/tickets", [this](const httplib::Request&, httplib::Response& res) {
        answer(res, 201, {{"ticket", "t-" + std::to_string(++tickets_)}, {"clock", 1767225600}});
    });

    if (readBytesPerSecond_ > 0) {
        // The body read a piece at a time, at the rate asked for.
        s.Post("/api/recordings", [this](const httplib::Request& req, httplib::Response& res,
                                         const httplib::ContentReader& read) {
            std::string body;
            read([&](const char* data, std::size_t length) {
                body.append(data, length);
                std::this_thread::sleep_for(std::chrono::microseconds(
                    static_cast<std::int64_t>(length) * 1000000 / readBytesPerSecond_));
                return true;
            });
            submit(req, body, res);
        });
    } else {
        s.Post("/api/recordings", [this](const httplib::Request& req, httplib::Response& res) {
            submit(req, req.body, res);
        });
    }

    s.Get(R"(/api/recordings/([0-9a-f]{64}))", [this](const httplib::Request& req,
                                                      httplib::Response& res) {
        const std::lock_guard lock(mutex_);
        const auto it = recordings_.find(req.matches[1]);
        if (it == recordings_.end()) return answer(res, 404, {{"error", "no such recording"}});
        Entry& e = it->second;
        Json verdict = {{"id", it->first}, {"player", e.player}};
        // The first look finds it still queued, so that clients poll.
        if (++e.polls == 1) {
            verdict["status"] = "queued";
        } else if (isForged(e.bytes)) {
            verdict["status"] = "rejected";
            verdict["reason"] = "game 1 ends with score 530, not the 999999 it claims";
        } else {
            const auto games = gamesIn(e.bytes);
            verdict["status"] = "verified";
            verdict["ranked"] = hasTicket(e.bytes);
            Json list = Json::array();
            for (const GameResult& g : games) {
                list.push_back({{"score", g.score}, {"level", g.level}, {"end_tick", g.endTick}});
            }
            verdict["games"] = list;
            if (hasTicket(e.bytes)) {
                int rank = 1;
                for (const auto& [id, other] : recordings_) {
                    if (hasTicket(other.bytes) && !isForged(other.bytes) &&
                        bestScore(gamesIn(other.bytes)) > bestScore(games)) {
                        ++rank;
                    }
                }
                verdict["rank"] = rank;
            } else {
                verdict["unranked_reason"] = "no ticket";
            }
        }
        answer(res, 200, verdict);
    });

    s.Get("/api/scores", [this](const httplib::Request& req, httplib::Response& res) {
        const std::lock_guard lock(mutex_);
        std::vector<std::string> ranked;
        for (const std::string& id : order_) {
            const std::string& b = recordings_[id].bytes;
            if (hasTicket(b) && !isForged(b)) ranked.push_back(id);
        }
        std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& a, const auto& b) {
            return bestScore(gamesIn(recordings_[a].bytes)) >
                   bestScore(gamesIn(recordings_[b].bytes));
        });
        const auto limit = static_cast<std::size_t>(std::stoi(req.get_param_value("limit")));
        Json list = Json::array();
        for (std::size_t i = 0; i < ranked.size() && i < limit; ++i) {
            const Entry& e = recordings_[ranked[i]];
            const auto games = gamesIn(e.bytes);
            list.push_back({{"rank", i + 1},
                            {"player", e.player},
                            {"score", bestScore(games)},
                            {"level", games.empty() ? 0 : games.front().level},
                            {"date", "2026-01-01T00:00:00Z"},
                            {"recording", ranked[i]}});
        }
        answer(res, 200, {{"scores", list}});
    });

    // Misbehaving and looking-glass routes.
    s.Post("/test/echo", [](const httplib::Request& req, httplib::Response& res) {
        answer(res, 200,
               {{"content_type", req.get_header_value("Content-Type")},
                {"authorization", req.get_header_value("Authorization")},
                {"body", req.body}});
    });
    s.Get("/test/whoami", [](const httplib::Request& req, httplib::Response& res) {
        answer(res, 200, {{"port", req.remote_port}});
    });
    s.Get("/test/stall", [this](const httplib::Request&, httplib::Response& res) {
        std::unique_lock lock(mutex_);
        released_.wait_for(lock, std::chrono::seconds(10), [this] { return releasedAll_; });
        answer(res, 200, {{"late", true}});
    });
    s.Get("/test/big", [](const httplib::Request& req, httplib::Response& res) {
        const auto bytes = static_cast<std::size_t>(std::stoul(req.get_param_value("bytes")));
        if (req.has_param("chunked")) {
            // No length announced: the client finds out while reading.
            res.set_chunked_content_provider(
                "text/plain", [bytes](std::size_t offset, httplib::DataSink& sink) {
                    if (offset >= bytes) {
                        sink.done();
                    } else {
                        const std::string piece(std::min<std::size_t>(4096, bytes - offset), 'x');
                        sink.write(piece.data(), piece.size());
                    }
                    return true;
                });
        } else {
            res.set_content(std::string(bytes, 'x'), "text/plain");
        }
    });
}

bool makeSelfSignedCertificate(const std::string& folder) {
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
        "-addext subjectAltName=IP:127.0.0.1 -keyout '" +
        folder + "/key.pem' -out '" + folder + "/cert.pem' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(folder + "/cert.pem");
}

}  // namespace kolvane::testing
