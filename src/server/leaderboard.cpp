#include "server/leaderboard.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include "app/text/utc_time.h"
#include "server/digest.h"
#include "server/player_name.h"
#include "server/recording_check.h"
#include "server/session_extension.h"
#include "server/ticket.h"

namespace kolvane::server {

namespace {

using nlohmann::json;

constexpr std::size_t kMinKeyLength = 16;
constexpr std::size_t kMaxKeyLength = 128;
constexpr std::size_t kMaxCachedTables = 256;
constexpr std::string_view kTicketUsedMessage =
    "the ticket was used by another recording, which this one does not extend";

std::string dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

Reply jsonReply(int status, const json& value) {
    Reply reply;
    reply.status = status;
    reply.body = dump(value);
    return reply;
}

std::string utc(std::int64_t ms) {
    UtcText text{};
    return std::string(formatUtc(ms / 1000, text));
}

json gameJson(const GameResult& game) {
    return json{{"game", game.number},
                {"score", game.score},
                {"level", game.level},
                {"end_tick", game.endTick}};
}

// A whole number from a query value, within [low, high]; fallback when absent.
bool pageValue(std::string_view text, int low, int high, int fallback, int& value) {
    if (text.empty()) {
        value = fallback;
        return true;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() && value >= low && value <= high;
}

bool readKey(std::string_view authorization, std::string& key) {
    constexpr std::string_view kBearer = "Bearer ";
    if (authorization.substr(0, kBearer.size()) != kBearer) return false;
    key = std::string(authorization.substr(kBearer.size()));
    if (key.size() < kMinKeyLength || key.size() > kMaxKeyLength) return false;
    return key.find_first_not_of(kKeyCharacters) == std::string::npos;
}

}  // namespace

Reply errorReply(int status, std::string_view message) {
    return jsonReply(status, json{{"error", message}});
}

Leaderboard::Leaderboard(Store& store, Metrics& metrics, std::function<std::int64_t()> nowMs,
                         LeaderboardSettings settings)
    : store_(store),
      metrics_(metrics),
      nowMs_(std::move(nowMs)),
      settings_(settings),
      submits_(settings.submitsPerMinute, settings.submitBurst),
      tickets_(settings.ticketsPerMinute, settings.ticketBurst) {}

bool Leaderboard::start(std::string& error) {
    const StoreResult result = store_.ticketKey(ticketKey_);
    if (!result.ok()) error = "cannot read the ticket key: " + result.message;
    return result.ok();
}

Reply Leaderboard::storeFailure(const StoreResult& result) const {
    std::fprintf(stderr, "kolvane-server: %s\n", result.message.c_str());
    switch (result.status) {
        case StoreStatus::kUnavailable:
            return errorReply(503, "the database is not answering");
        case StoreStatus::kFull:
            return errorReply(507, "the database's disk is full");
        case StoreStatus::kReadOnly:
            return errorReply(503, "the database takes no writes (read-only)");
        case StoreStatus::kFailed:
        case StoreStatus::kOk:
            break;
    }
    return errorReply(500, "the database failed");
}

Reply Leaderboard::tooMany(std::int64_t seconds) const {
    Reply reply = errorReply(
        429, "too many requests from this address: try again in " + std::to_string(seconds) + " s");
    reply.headers.emplace_back("Retry-After", std::to_string(seconds));
    return reply;
}

Reply Leaderboard::issueTicket(const std::string& address) {
    const std::int64_t now = nowMs_();
    if (const std::int64_t wait = tickets_.wait(address, now); wait > 0) return tooMany(wait);
    const std::optional<Ticket> ticket = newTicket(now);
    if (!ticket) return errorReply(500, "no random bytes for a ticket");
    return jsonReply(201,
                     json{{"ticket", ticketToken(*ticket, ticketKey_)}, {"clock", ticket->clock}});
}

Reply Leaderboard::submit(const std::string& address, std::string_view player,
                          std::string_view authorization, std::string_view body) {
    const std::int64_t now = nowMs_();
    if (const std::int64_t wait = submits_.wait(address, now); wait > 0) return tooMany(wait);
    if (body.size() > kMaxRecordingBytes) {
        return errorReply(
            413, "the recording is larger than " + std::to_string(kMaxRecordingBytes) + " bytes");
    }
    std::string key;
    if (authorization.empty()) {
        return errorReply(401, "a submission needs the player's key: Authorization: Bearer KEY");
    }
    if (!readKey(authorization, key)) {
        return errorReply(400,
                          "the key must be 16 to 128 letters, digits or - . _ ~ + / =, "
                          "sent as Authorization: Bearer KEY");
    }
    std::string problem;
    const std::optional<PlayerName> name = readPlayerName(player, problem);
    if (!name) return errorReply(400, "player: " + problem);

    NewRecording recording;
    recording.id = sha256Hex(body);
    std::optional<RecordingInfo> existing;
    if (StoreResult r = store_.recording(recording.id, existing); !r.ok()) return storeFailure(r);
    if (existing) {
        return jsonReply(200, json{{"id", recording.id}, {"status", statusWord(existing->status)}});
    }
    Recording read;
    if (!readSubmission(body, read, problem)) return errorReply(400, problem);
    const ScriptSettings& settings = read.script.settings;
    if (settings.ticket) {
        const std::optional<Ticket> ticket = readTicket(*settings.ticket, ticketKey_, problem);
        if (!ticket) return errorReply(400, problem);
        if (ticket->clock != *settings.clock) {
            return errorReply(400, "the ticket is for clock " + std::to_string(ticket->clock) +
                                       ", the recording starts at " +
                                       std::to_string(*settings.clock));
        }
        recording.ticket = TicketUse{ticket->nonce, ticket->issuedAtMs};
        // A used ticket: taken over only by the same player's same session gone on.
        std::optional<TicketHolder> holder;
        if (StoreResult r = store_.ticketHolder(ticket->nonce, holder); !r.ok())
            return storeFailure(r);
        if (holder) {
            Recording earlier;
            if (holder->playerKey != name->key || !readSubmission(holder->body, earlier, problem) ||
                !extendsRecording(earlier, read)) {
                return errorReply(409, kTicketUsedMessage);
            }
            recording.extends = holder->id;
        }
    }
    recording.body = std::string(body);
    recording.player = name->shown;
    recording.playerKey = name->key;
    recording.keyHash = sha256Hex(key);
    recording.submittedAtMs = now;
    SubmitResult result = SubmitResult::kQueued;
    if (StoreResult r = store_.submit(recording, result); !r.ok()) return storeFailure(r);
    switch (result) {
        case SubmitResult::kExists:
            return jsonReply(200, json{{"id", recording.id}, {"status", "queued"}});
        case SubmitResult::kNameTaken:
            return errorReply(403, "the name \"" + name->shown + "\" belongs to another key");
        case SubmitResult::kTicketUsed:
            return errorReply(409, kTicketUsedMessage);
        case SubmitResult::kQueued:
            break;
    }
    if (queued_) queued_();
    return jsonReply(202, json{{"id", recording.id}, {"status", "queued"}});
}

Reply Leaderboard::recording(const std::string& id) {
    std::optional<RecordingInfo> info;
    if (StoreResult r = store_.recording(id, info); !r.ok()) return storeFailure(r);
    if (!info) return errorReply(404, "no recording " + id);
    json out{{"id", info->id},         {"status", statusWord(info->status)},
             {"player", info->player}, {"submitted", utc(info->submittedAtMs)},
             {"ranked", info->ranked}, {"file", "/api/recordings/" + info->id + "/file"}};
    if (info->status != RecordingStatus::kQueued) {
        out["verification_seconds"] = static_cast<double>(info->verifyMicros) / 1e6;
    }
    if (info->status == RecordingStatus::kRejected) out["reason"] = info->reason;
    if (info->status == RecordingStatus::kVerified && !info->ranked) {
        out["unranked_reason"] = info->unranked;
    }
    if (info->rank) out["rank"] = *info->rank;
    json games = json::array();
    for (const GameResult& game : info->games) games.push_back(gameJson(game));
    out["games"] = std::move(games);
    return jsonReply(200, out);
}

Reply Leaderboard::file(const std::string& id) {
    std::optional<std::string> body;
    if (StoreResult r = store_.file(id, body); !r.ok()) return storeFailure(r);
    if (!body) return errorReply(404, "no recording " + id);
    Reply reply;
    reply.body = std::move(*body);
    reply.contentType = "text/plain; charset=utf-8";
    reply.headers.emplace_back("Content-Disposition",
                               "attachment; filename=\"kolvane-" + id.substr(0, 16) + ".kolvane\"");
    return reply;
}

Reply Leaderboard::scores(std::string_view limitText, std::string_view offsetText) {
    int limit = 0;
    int offset = 0;
    if (!pageValue(limitText, 1, kMaxPage, kMaxPage, limit) ||
        !pageValue(offsetText, 0, kMaxOffset, 0, offset)) {
        return errorReply(400, "limit is 1 to 100 and offset 0 to 1000000");
    }
    const std::int64_t now = nowMs_();
    {
        // A page in memory is answered while fresh, and while another request
        // asks the database for it anew: one query at a time for each page.
        const std::lock_guard lock(tableMutex_);
        const auto cached = tables_.find({limit, offset});
        if (cached != tables_.end()) {
            CachedTable& page = cached->second;
            if (now - page.atMs < settings_.tableCacheMs || page.refreshing) {
                Reply reply;
                reply.body = page.body;
                return reply;
            }
            page.refreshing = true;
        }
    }
    std::vector<TableRow> rows;
    if (StoreResult r = store_.table(limit, offset, rows); !r.ok()) {
        const std::lock_guard lock(tableMutex_);
        if (const auto cached = tables_.find({limit, offset}); cached != tables_.end())
            cached->second.refreshing = false;
        return storeFailure(r);
    }
    json entries = json::array();
    int rank = offset;
    for (const TableRow& row : rows) {
        entries.push_back(json{{"rank", ++rank},
                               {"player", row.player},
                               {"score", row.score},
                               {"level", row.level},
                               {"game", row.game},
                               {"date", utc(row.endedAtMs)},
                               {"recording", row.recording}});
    }
    Reply reply = jsonReply(200, json{{"scores", std::move(entries)}});
    const std::lock_guard lock(tableMutex_);
    if (tables_.size() >= kMaxCachedTables) tables_.clear();
    tables_[{limit, offset}] = CachedTable{reply.body, now, false};
    return reply;
}

Reply Leaderboard::player(std::string_view nameText, std::string_view limitText,
                          std::string_view offsetText) {
    int limit = 0;
    int offset = 0;
    if (!pageValue(limitText, 1, kMaxPage, kMaxPage, limit) ||
        !pageValue(offsetText, 0, kMaxOffset, 0, offset)) {
        return errorReply(400, "limit is 1 to 100 and offset 0 to 1000000");
    }
    std::string problem;
    const std::optional<PlayerName> name = readPlayerName(nameText, problem);
    if (!name) return errorReply(400, "player: " + problem);
    std::optional<std::string> shown;
    std::vector<PlayerGame> games;
    if (StoreResult r = store_.playerGames(name->key, limit, offset, shown, games); !r.ok())
        return storeFailure(r);
    if (!shown) return errorReply(404, "no player \"" + name->shown + "\"");
    json list = json::array();
    for (const PlayerGame& game : games) {
        json entry = gameJson(game.game);
        entry["recording"] = game.recording;
        entry["ranked"] = game.ranked;
        entry["submitted"] = utc(game.submittedAtMs);
        list.push_back(std::move(entry));
    }
    return jsonReply(200, json{{"player", *shown}, {"games", std::move(list)}});
}

Reply Leaderboard::health() {
    if (StoreResult r = store_.ping(); !r.ok()) return storeFailure(r);
    return jsonReply(200, json{{"status", "ok"}});
}

Reply Leaderboard::metrics() {
    std::int64_t depth = -1;
    if (!store_.queueDepth(depth).ok()) depth = -1;
    Reply reply;
    reply.body = metrics_.text(depth);
    reply.contentType = "text/plain; version=0.0.4; charset=utf-8";
    return reply;
}

void Leaderboard::tableChanged() {
    // Stale at once: the next request asks the database, the others meanwhile
    // get the page as it was.
    const std::lock_guard lock(tableMutex_);
    for (auto& [page, cached] : tables_) cached.atMs = std::numeric_limits<std::int64_t>::min() / 2;
}

}  // namespace kolvane::server
