#include "server/postgres_store.h"

#include <libpq-fe.h>

#include <array>
#include <cstdlib>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "server/connection_pool.h"
#include "server/digest.h"
#include "server/schema.h"

namespace kolvane::server {

namespace {

// Seconds to wait for a connection before the database counts as down.
constexpr const char* kConnectTimeout = "3";
// Any number will do, as long as every server takes the same.
constexpr std::string_view kMigrationLock = "SELECT pg_advisory_xact_lock(2112202601)";

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

StoreResult failure(PGconn* connection, const PGresult* result) {
    StoreResult out;
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string_view code = state != nullptr ? state : "";
    out.message = std::string("PostgreSQL: ") +
                  (result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(connection));
    while (!out.message.empty() && out.message.back() == '\n') out.message.pop_back();
    if (PQstatus(connection) != CONNECTION_OK || code.substr(0, 2) == "08" || code == "57P01" ||
        code == "57P02" || code == "57P03") {
        out.status = StoreStatus::kUnavailable;
    } else if (code == "53100") {
        out.status = StoreStatus::kFull;
    } else if (code == "25006") {
        out.status = StoreStatus::kReadOnly;
    } else {
        out.status = StoreStatus::kFailed;
    }
    return out;
}

// A connection and the names of the statements prepared on it.
class Connection {
public:
    explicit Connection(PGconn* connection) : connection_(connection) {}
    ~Connection() { PQfinish(connection_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    PGconn* get() const { return connection_; }

    // After the database went away: connects again; false while it is down.
    bool ready() {
        if (PQstatus(connection_) == CONNECTION_OK) return true;
        PQreset(connection_);
        prepared_.clear();
        return PQstatus(connection_) == CONNECTION_OK;
    }

    // Prepares the statement on its first use on this connection; its name is
    // its text's address, which is the same on every connection.
    bool prepare(const char* sql, std::string& name, StoreResult& error) {
        name = "k" + std::to_string(reinterpret_cast<std::uintptr_t>(sql));
        if (prepared_.count(sql) != 0) return true;
        const Result result(PQprepare(connection_, name.c_str(), sql, 0, nullptr));
        if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
            error = failure(connection_, result.get());
            return false;
        }
        prepared_.insert(sql);
        return true;
    }

private:
    PGconn* connection_;
    std::unordered_set<const char*> prepared_;
};

// One parameter: text, or bytes sent as binary.
struct Param {
    std::string value;
    bool binary = false;
    bool null = false;
};

Param text(std::string_view value) {
    return Param{std::string(value), false, false};
}
Param number(std::int64_t value) {
    return Param{std::to_string(value), false, false};
}
Param bytes(std::string_view value) {
    return Param{std::string(value), true, false};
}
Param null() {
    return Param{{}, false, true};
}

// Runs a prepared statement; rows (text) in result.
StoreResult run(Connection& c, const char* sql, const std::vector<Param>& params, Result& result) {
    std::string name;
    StoreResult error;
    if (!c.prepare(sql, name, error)) return error;
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Param& p : params) {
        values.push_back(p.null ? nullptr : p.value.data());
        lengths.push_back(static_cast<int>(p.value.size()));
        formats.push_back(p.binary ? 1 : 0);
    }
    result.reset(PQexecPrepared(c.get(), name.c_str(), static_cast<int>(params.size()),
                                values.data(), lengths.data(), formats.data(), 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        return failure(c.get(), result.get());
    return {};
}

StoreResult execute(Connection& c, const std::string& sql) {
    const Result result(PQexec(c.get(), sql.c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        return failure(c.get(), result.get());
    return {};
}

std::string field(const Result& r, int row, int column) {
    return std::string(PQgetvalue(r.get(), row, column),
                       static_cast<std::size_t>(PQgetlength(r.get(), row, column)));
}
std::int64_t integer(const Result& r, int row, int column) {
    return std::strtoll(PQgetvalue(r.get(), row, column), nullptr, 10);
}
bool isNull(const Result& r, int row, int column) {
    return PQgetisnull(r.get(), row, column) != 0;
}
std::string unescaped(const Result& r, int row, int column) {
    std::size_t size = 0;
    unsigned char* data = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(r.get(), row, column)), &size);
    if (data == nullptr) return {};
    std::string out(reinterpret_cast<const char*>(data), size);
    PQfreemem(data);
    return out;
}
bool changedRows(const Result& r) {
    const char* tuples = PQcmdTuples(r.get());
    return tuples != nullptr && tuples[0] != '\0' && tuples[0] != '0';
}

// BEGIN ... COMMIT, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& c) : c_(c) {}
    ~Transaction() {
        if (open_) execute(c_, "ROLLBACK");
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    StoreResult begin() {
        StoreResult r = execute(c_, "BEGIN");
        open_ = r.ok();
        return r;
    }
    StoreResult commit() {
        StoreResult r = execute(c_, "COMMIT");
        open_ = false;
        return r;
    }

private:
    Connection& c_;
    bool open_ = false;
};

std::unique_ptr<Connection> connect(const std::string& url, std::string& error) {
    // The URL's own connect_timeout, if any, wins: it comes later.
    const std::array<const char*, 3> keys{"connect_timeout", "dbname", nullptr};
    const std::array<const char*, 3> values{kConnectTimeout, url.c_str(), nullptr};
    PGconn* connection = PQconnectdbParams(keys.data(), values.data(), 1);
    if (connection == nullptr) {
        error = "PostgreSQL: out of memory";
        return nullptr;
    }
    auto c = std::make_unique<Connection>(connection);
    if (PQstatus(connection) != CONNECTION_OK) {
        error = std::string("PostgreSQL: ") + PQerrorMessage(connection);
        while (!error.empty() && error.back() == '\n') error.pop_back();
        return nullptr;
    }
    execute(*c, "SET client_min_messages = warning");
    return c;
}

StoreResult migrate(Connection& c) {
    Transaction transaction(c);
    if (StoreResult r = transaction.begin(); !r.ok()) return r;
    if (StoreResult r = execute(c, std::string(kMigrationLock)); !r.ok()) return r;
    if (StoreResult r =
            execute(c, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        !r.ok())
        return r;
    Result rows;
    if (StoreResult r = run(c, "SELECT COALESCE(MAX(version), 0) FROM schema_version", {}, rows);
        !r.ok())
        return r;
    const std::int64_t version = integer(rows, 0, 0);
    const auto& migrations = postgresMigrations();
    if (version > migrations.back().version) {
        return {StoreStatus::kFailed, "the database's schema is version " +
                                          std::to_string(version) + ", newer than this server's " +
                                          std::to_string(migrations.back().version)};
    }
    for (const Migration& migration : migrations) {
        if (migration.version <= version) continue;
        if (StoreResult r = execute(c, std::string(migration.sql)); !r.ok()) return r;
        Result done;
        if (StoreResult r = run(c, "INSERT INTO schema_version (version) VALUES ($1)",
                                {number(migration.version)}, done);
            !r.ok())
            return r;
    }
    return transaction.commit();
}

RecordingStatus statusFromText(std::string_view text) {
    if (text == "verified") return RecordingStatus::kVerified;
    if (text == "rejected") return RecordingStatus::kRejected;
    return RecordingStatus::kQueued;
}

GameResult gameAt(const Result& r, int row, int column) {
    return GameResult{static_cast<int>(integer(r, row, column)),
                      static_cast<std::int32_t>(integer(r, row, column + 1)),
                      static_cast<std::int32_t>(integer(r, row, column + 2)),
                      integer(r, row, column + 3)};
}

class PostgresStore final : public Store {
public:
    PostgresStore(std::string url, int connections)
        : url_(std::move(url)), pool_(static_cast<std::size_t>(connections), [this] {
              std::string error;
              return connect(url_, error);
          }) {}

    StoreResult ping() override {
        return withConnection([&](Connection& c) {
            Result r;
            return run(c, "SELECT 1", {}, r);
        });
    }

    StoreResult ticketKey(std::string& key) override {
        return withConnection([&](Connection& c) {
            std::string made;
            if (!randomBytes(made, 32))
                return StoreResult{StoreStatus::kFailed, "no random bytes to make a key"};
            Result r;
            if (StoreResult s = run(c,
                                    "INSERT INTO server_keys (name, value) VALUES ('tickets', $1) "
                                    "ON CONFLICT (name) DO NOTHING",
                                    {bytes(made)}, r);
                !s.ok())
                return s;
            if (StoreResult s =
                    run(c, "SELECT value FROM server_keys WHERE name = 'tickets'", {}, r);
                !s.ok())
                return s;
            key = unescaped(r, 0, 0);
            return StoreResult{};
        });
    }

    StoreResult ticketHolder(const std::string& nonce,
                             std::optional<TicketHolder>& holder) override {
        holder.reset();
        return withConnection([&](Connection& c) {
            Result r;
            StoreResult s = run(c,
                                "SELECT t.recording_id, r.player_key, f.body FROM used_tickets t "
                                "JOIN recordings r ON r.id = t.recording_id "
                                "JOIN recording_files f ON f.id = t.recording_id "
                                "WHERE t.nonce = $1",
                                {text(nonce)}, r);
            if (s.ok() && PQntuples(r.get()) > 0)
                holder = TicketHolder{field(r, 0, 0), field(r, 0, 1), unescaped(r, 0, 2)};
            return s;
        });
    }

    StoreResult submit(const NewRecording& rec, SubmitResult& outcome) override {
        return withConnection([&](Connection& c) {
            Transaction transaction(c);
            if (StoreResult s = transaction.begin(); !s.ok()) return s;
            Result r;
            if (StoreResult s = run(c, "SELECT 1 FROM recordings WHERE id = $1", {text(rec.id)}, r);
                !s.ok())
                return s;
            if (PQntuples(r.get()) > 0) {
                outcome = SubmitResult::kExists;
                return StoreResult{};
            }
            if (StoreResult s = run(c,
                                    "INSERT INTO players (player_key, name, key_hash, created_ms) "
                                    "VALUES ($1, $2, $3, $4) ON CONFLICT (player_key) DO NOTHING",
                                    {text(rec.playerKey), text(rec.player), text(rec.keyHash),
                                     number(rec.submittedAtMs)},
                                    r);
                !s.ok())
                return s;
            if (StoreResult s = run(c, "SELECT name, key_hash FROM players WHERE player_key = $1",
                                    {text(rec.playerKey)}, r);
                !s.ok())
                return s;
            if (!sameSecret(field(r, 0, 1), rec.keyHash)) {
                outcome = SubmitResult::kNameTaken;
                return StoreResult{};
            }
            const std::string shown = field(r, 0, 0);
            if (rec.ticket && rec.extends) {
                // Taken over from the recording it extends, while that one
                // still holds it.
                if (StoreResult s =
                        run(c,
                            "UPDATE used_tickets SET recording_id = $1 "
                            "WHERE nonce = $2 AND recording_id = $3",
                            {text(rec.id), text(rec.ticket->nonce), text(*rec.extends)}, r);
                    !s.ok())
                    return s;
                if (!changedRows(r)) {
                    outcome = SubmitResult::kTicketUsed;
                    return StoreResult{};
                }
            } else if (rec.ticket) {
                if (StoreResult s =
                        run(c,
                            "INSERT INTO used_tickets (nonce, recording_id) VALUES ($1, $2) "
                            "ON CONFLICT (nonce) DO NOTHING",
                            {text(rec.ticket->nonce), text(rec.id)}, r);
                    !s.ok())
                    return s;
                if (!changedRows(r)) {
                    // The same bytes, sent at the same moment to another server.
                    if (StoreResult s =
                            run(c, "SELECT recording_id FROM used_tickets WHERE nonce = $1",
                                {text(rec.ticket->nonce)}, r);
                        !s.ok())
                        return s;
                    outcome = PQntuples(r.get()) > 0 && field(r, 0, 0) == rec.id
                                  ? SubmitResult::kExists
                                  : SubmitResult::kTicketUsed;
                    return StoreResult{};
                }
            }
            if (StoreResult s =
                    run(c,
                        "INSERT INTO recordings (id, player_key, player, "
                        "submitted_ms, ticket_issued_ms, extends_id) VALUES ($1, $2, $3, $4, $5, "
                        "$6) ON CONFLICT (id) DO NOTHING",
                        {text(rec.id), text(rec.playerKey), text(shown), number(rec.submittedAtMs),
                         rec.ticket ? number(rec.ticket->issuedAtMs) : null(),
                         rec.extends ? text(*rec.extends) : null()},
                        r);
                !s.ok())
                return s;
            if (!changedRows(r)) {
                outcome = SubmitResult::kExists;
                return StoreResult{};
            }
            if (StoreResult s = run(c, "INSERT INTO recording_files (id, body) VALUES ($1, $2)",
                                    {text(rec.id), bytes(rec.body)}, r);
                !s.ok())
                return s;
            if (StoreResult s = transaction.commit(); !s.ok()) return s;
            outcome = SubmitResult::kQueued;
            return StoreResult{};
        });
    }

    StoreResult recording(const std::string& id, std::optional<RecordingInfo>& info) override {
        info.reset();
        return withConnection([&](Connection& c) {
            Result r;
            if (StoreResult s =
                    run(c,
                        "SELECT status, player, reason, ranked, unranked, submitted_ms, "
                        "verify_us, player_key FROM recordings WHERE id = $1",
                        {text(id)}, r);
                !s.ok())
                return s;
            if (PQntuples(r.get()) == 0) return StoreResult{};
            RecordingInfo found;
            found.id = id;
            found.status = statusFromText(field(r, 0, 0));
            found.player = field(r, 0, 1);
            found.reason = field(r, 0, 2);
            found.ranked = field(r, 0, 3) == "t";
            found.unranked = field(r, 0, 4);
            found.submittedAtMs = integer(r, 0, 5);
            found.verifyMicros = integer(r, 0, 6);
            if (found.ranked) {
                if (StoreResult s = rankOf(c, field(r, 0, 7), id, found.rank); !s.ok()) return s;
            }
            if (StoreResult s = run(c,
                                    "SELECT number, score, level, end_tick FROM games "
                                    "WHERE recording_id = $1 ORDER BY number",
                                    {text(id)}, r);
                !s.ok())
                return s;
            for (int row = 0; row < PQntuples(r.get()); ++row)
                found.games.push_back(gameAt(r, row, 0));
            info = std::move(found);
            return StoreResult{};
        });
    }

    // The place of the player's entry in the table, when it is this
    // recording's and within kMostRankCounted.
    static StoreResult rankOf(Connection& c, const std::string& playerKey, const std::string& id,
                              std::optional<std::int64_t>& rank) {
        Result r;
        if (StoreResult s = run(c,
                                "SELECT score, ended_ms FROM best_games WHERE player_key = $1 "
                                "AND recording_id = $2",
                                {text(playerKey), text(id)}, r);
            !s.ok() || PQntuples(r.get()) == 0)
            return s;
        // The table's order: score, then the earlier game, then the id.
        const std::int64_t score = integer(r, 0, 0);
        const std::int64_t endedMs = integer(r, 0, 1);
        if (StoreResult s =
                run(c,
                    "SELECT count(*) FROM (SELECT 1 FROM best_games WHERE score > $1 "
                    "OR (score = $1 AND (ended_ms < $2 OR (ended_ms = $2 AND "
                    "recording_id < $3))) LIMIT $4) AS above",
                    {number(score), number(endedMs), text(id), number(kMostRankCounted)}, r);
            !s.ok())
            return s;
        if (integer(r, 0, 0) < kMostRankCounted) rank = integer(r, 0, 0) + 1;
        return StoreResult{};
    }

    StoreResult file(const std::string& id, std::optional<std::string>& body) override {
        body.reset();
        return withConnection([&](Connection& c) {
            Result r;
            StoreResult s = run(c, "SELECT body FROM recording_files WHERE id = $1", {text(id)}, r);
            if (s.ok() && PQntuples(r.get()) > 0) body = unescaped(r, 0, 0);
            return s;
        });
    }

    StoreResult claimJob(const std::string& owner, std::int64_t nowMs, std::int64_t leaseMs,
                         std::optional<Job>& job) override {
        job.reset();
        return withConnection([&](Connection& c) {
            Result r;
            StoreResult s = run(c,
                                "UPDATE recordings SET lease_owner = $1, lease_until_ms = $2, "
                                "attempts = attempts + 1 WHERE id = (SELECT id FROM recordings "
                                "WHERE status = 'queued' AND lease_until_ms < $3 AND "
                                "(extends_id IS NULL OR NOT EXISTS (SELECT 1 FROM recordings e "
                                "WHERE e.id = recordings.extends_id AND e.status = 'queued')) "
                                "ORDER BY submitted_ms LIMIT 1 FOR UPDATE SKIP LOCKED) "
                                "RETURNING id, player, player_key, submitted_ms, "
                                "ticket_issued_ms, attempts",
                                {text(owner), number(nowMs + leaseMs), number(nowMs)}, r);
            if (!s.ok() || PQntuples(r.get()) == 0) return s;
            Job found;
            found.id = field(r, 0, 0);
            found.player = field(r, 0, 1);
            found.playerKey = field(r, 0, 2);
            found.submittedAtMs = integer(r, 0, 3);
            if (!isNull(r, 0, 4)) found.ticketIssuedAtMs = integer(r, 0, 4);
            found.attempts = static_cast<int>(integer(r, 0, 5)) - 1;
            s = run(c, "SELECT body FROM recording_files WHERE id = $1", {text(found.id)}, r);
            if (!s.ok()) return s;
            if (PQntuples(r.get()) > 0) found.body = unescaped(r, 0, 0);
            job = std::move(found);
            return s;
        });
    }

    StoreResult finishJob(const JobOutcome& o, bool& done) override {
        done = false;
        return withConnection([&](Connection& c) {
            Transaction transaction(c);
            if (StoreResult s = transaction.begin(); !s.ok()) return s;
            Result r;
            if (StoreResult s = run(c,
                                    "UPDATE recordings SET status = $1, reason = $2, ranked = $3, "
                                    "unranked = $4, verified_ms = $5, verify_us = $6, "
                                    "lease_owner = NULL WHERE id = $7 AND status = 'queued'",
                                    {text(o.verified ? "verified" : "rejected"), text(o.reason),
                                     text(o.best ? "true" : "false"), text(o.unranked.value_or("")),
                                     number(o.verifiedAtMs), number(o.verifyMicros), text(o.id)},
                                    r);
                !s.ok())
                return s;
            if (!changedRows(r)) return transaction.commit();
            for (const GameResult& game : o.games) {
                if (StoreResult s = run(c,
                                        "INSERT INTO games (recording_id, number, score, level, "
                                        "end_tick) VALUES ($1, $2, $3, $4, $5)",
                                        {text(o.id), number(game.number), number(game.score),
                                         number(game.level), number(game.endTick)},
                                        r);
                    !s.ok())
                    return s;
            }
            if (o.best) {
                if (StoreResult s = replaceEarlier(c, o.id); !s.ok()) return s;
                if (StoreResult s =
                        run(c,
                            "INSERT INTO best_games (player_key, player, score, level, game, "
                            "ended_ms, recording_id) VALUES ($1, $2, $3, $4, $5, $6, $7) "
                            "ON CONFLICT (player_key) DO UPDATE SET player = excluded.player, "
                            "score = excluded.score, level = excluded.level, game = excluded.game, "
                            "ended_ms = excluded.ended_ms, recording_id = excluded.recording_id "
                            "WHERE excluded.score > best_games.score OR (excluded.score = "
                            "best_games.score AND excluded.ended_ms < best_games.ended_ms)",
                            {text(o.playerKey), text(o.player), number(o.best->game.score),
                             number(o.best->game.level), number(o.best->game.number),
                             number(o.best->endedAtMs), text(o.id)},
                            r);
                    !s.ok())
                    return s;
            }
            StoreResult committed = transaction.commit();
            done = committed.ok();
            return committed;
        });
    }

    StoreResult table(int limit, int offset, std::vector<TableRow>& rows) override {
        rows.clear();
        return withConnection([&](Connection& c) {
            Result r;
            StoreResult s = run(c,
                                "SELECT player, score, level, game, ended_ms, recording_id "
                                "FROM best_games ORDER BY score DESC, ended_ms, recording_id "
                                "LIMIT $1 OFFSET $2",
                                {number(limit), number(offset)}, r);
            if (!s.ok()) return s;
            for (int row = 0; row < PQntuples(r.get()); ++row) {
                rows.push_back(TableRow{
                    field(r, row, 0), static_cast<std::int32_t>(integer(r, row, 1)),
                    static_cast<std::int32_t>(integer(r, row, 2)),
                    static_cast<int>(integer(r, row, 3)), integer(r, row, 4), field(r, row, 5)});
            }
            return s;
        });
    }

    StoreResult playerGames(const std::string& playerKey, int limit, int offset,
                            std::optional<std::string>& player,
                            std::vector<PlayerGame>& games) override {
        games.clear();
        player.reset();
        return withConnection([&](Connection& c) {
            Result r;
            if (StoreResult s =
                    run(c, "SELECT name FROM players WHERE player_key = $1", {text(playerKey)}, r);
                !s.ok())
                return s;
            if (PQntuples(r.get()) > 0) player = field(r, 0, 0);
            StoreResult s = run(c,
                                "SELECT r.id, g.number, g.score, g.level, g.end_tick, r.ranked, "
                                "r.submitted_ms FROM recordings r JOIN games g ON "
                                "g.recording_id = r.id WHERE r.player_key = $1 AND "
                                "r.status = 'verified' ORDER BY r.submitted_ms DESC, r.id, "
                                "g.number LIMIT $2 OFFSET $3",
                                {text(playerKey), number(limit), number(offset)}, r);
            if (!s.ok()) return s;
            for (int row = 0; row < PQntuples(r.get()); ++row) {
                games.push_back(PlayerGame{field(r, row, 0), gameAt(r, row, 1),
                                           field(r, row, 5) == "t", integer(r, row, 6)});
            }
            return s;
        });
    }

    StoreResult queueDepth(std::int64_t& depth) override {
        depth = 0;
        return withConnection([&](Connection& c) {
            Result r;
            StoreResult s =
                run(c, "SELECT COUNT(*) FROM recordings WHERE status = 'queued'", {}, r);
            if (s.ok()) depth = integer(r, 0, 0);
            return s;
        });
    }

private:
    // A ranked recording takes the place of the earlier one of its session:
    // the table's entry naming that one names it, and that one ranks no more.
    static StoreResult replaceEarlier(Connection& c, const std::string& id) {
        Result r;
        if (StoreResult s = run(c,
                                "UPDATE best_games SET recording_id = $1 WHERE recording_id = "
                                "(SELECT extends_id FROM recordings WHERE id = $1)",
                                {text(id)}, r);
            !s.ok())
            return s;
        return run(c,
                   "UPDATE recordings SET ranked = FALSE, unranked = $2 WHERE id = "
                   "(SELECT extends_id FROM recordings WHERE id = $1) AND ranked",
                   {text(id), text(replacedReason(id))}, r);
    }

    template <class Work>
    StoreResult withConnection(Work work) {
        auto c = pool_.borrow();
        if (!c || !c->ready()) {
            return {StoreStatus::kUnavailable, "PostgreSQL does not answer"};
        }
        return work(*c);
    }

    std::string url_;
    ConnectionPool<Connection> pool_;
};

}  // namespace

std::unique_ptr<Store> openPostgresStore(const std::string& url, int connections,
                                         std::string& error) {
    std::unique_ptr<Connection> first = connect(url, error);
    if (!first) return nullptr;
    if (StoreResult migrated = migrate(*first); !migrated.ok()) {
        error = "cannot prepare the database: " + migrated.message;
        return nullptr;
    }
    return std::make_unique<PostgresStore>(url, connections);
}

}  // namespace kolvane::server
