#include "server/sqlite_store.h"

#include <sqlite3.h>

#include <string_view>
#include <unordered_map>

#include "server/connection_pool.h"
#include "server/digest.h"
#include "server/schema.h"

namespace kolvane::server {

namespace {

constexpr int kBusyTimeoutMs = 5000;

StoreResult failure(sqlite3* db, int code) {
    StoreResult result;
    const int primary = code & 0xff;
    result.message =
        std::string("SQLite: ") + (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    switch (primary) {
        case SQLITE_FULL:
            result.status = StoreStatus::kFull;
            break;
        case SQLITE_READONLY:
            result.status = StoreStatus::kReadOnly;
            break;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_CANTOPEN:
            result.status = StoreStatus::kUnavailable;
            break;
        default:
            result.status = StoreStatus::kFailed;
            break;
    }
    return result;
}

// One connection and its prepared statements, each made once.
class Connection {
public:
    explicit Connection(sqlite3* db) : db_(db) {}
    ~Connection() {
        for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
        sqlite3_close(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* db() const { return db_; }

    sqlite3_stmt* prepare(const char* sql) {
        auto found = statements_.find(sql);
        if (found != statements_.end()) {
            sqlite3_reset(found->second);
            sqlite3_clear_bindings(found->second);
            return found->second;
        }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK) {
            return nullptr;
        }
        statements_.emplace(sql, statement);
        return statement;
    }

private:
    sqlite3* db_;
    std::unordered_map<const char*, sqlite3_stmt*> statements_;
};

// A statement being run: binds, steps and reads columns.
class Query {
public:
    Query(Connection& connection, const char* sql)
        : db_(connection.db()), statement_(connection.prepare(sql)) {
        if (statement_ == nullptr) code_ = sqlite3_errcode(db_);
    }
    ~Query() {
        if (statement_ != nullptr) sqlite3_reset(statement_);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(std::string_view text) {
        if (statement_ != nullptr)
            sqlite3_bind_text(statement_, ++bound_, text.data(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    // The bytes must outlive the query: they are not copied.
    Query& bindBlob(std::string_view bytes) {
        if (statement_ != nullptr)
            sqlite3_bind_blob(statement_, ++bound_, bytes.data(), static_cast<int>(bytes.size()),
                              SQLITE_STATIC);
        return *this;
    }
    Query& bind(std::int64_t value) {
        if (statement_ != nullptr) sqlite3_bind_int64(statement_, ++bound_, value);
        return *this;
    }
    Query& bindNull() {
        if (statement_ != nullptr) sqlite3_bind_null(statement_, ++bound_);
        return *this;
    }

    // True while there is a row; false at the end or on a failure (failed()).
    bool step() {
        if (statement_ == nullptr) return false;
        const int code = sqlite3_step(statement_);
        if (code == SQLITE_ROW) return true;
        if (code != SQLITE_DONE) code_ = code;
        return false;
    }
    // Runs a statement that returns no row.
    StoreResult run() {
        step();
        return result();
    }

    bool failed() const { return code_ != SQLITE_OK; }
    StoreResult result() const { return failed() ? failure(db_, code_) : StoreResult{}; }

    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::string text(int column) const {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes == nullptr
                   ? std::string()
                   : std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_;
    int bound_ = 0;
    int code_ = SQLITE_OK;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection) : connection_(connection) {}
    ~Transaction() {
        if (open_) Query(connection_, "ROLLBACK").run();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    StoreResult begin() {
        StoreResult result = Query(connection_, "BEGIN IMMEDIATE").run();
        open_ = result.ok();
        return result;
    }
    StoreResult commit() {
        StoreResult result = Query(connection_, "COMMIT").run();
        if (result.ok()) open_ = false;
        return result;
    }

private:
    Connection& connection_;
    bool open_ = false;
};

StoreResult execute(sqlite3* db, const std::string& sql) {
    const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    return code == SQLITE_OK ? StoreResult{} : failure(db, code);
}

std::unique_ptr<Connection> openConnection(const std::string& path, std::string& error) {
    sqlite3* db = nullptr;
    const int code =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        error = "cannot open the database \"" + path +
                "\": " + (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // A read-only database keeps its journal mode: the statements that write
    // are the ones that fail, each with its own clear error.
    execute(db, "PRAGMA journal_mode=WAL");
    execute(db, "PRAGMA synchronous=NORMAL");
    execute(db, "PRAGMA foreign_keys=ON");
    return std::make_unique<Connection>(db);
}

// The schema's version, without writing (0 for a new database).
std::int64_t schemaVersion(Connection& connection) {
    Query query(connection, "SELECT MAX(version) FROM schema_version");
    return query.step() ? query.integer(0) : 0;
}

StoreResult migrate(Connection& connection) {
    sqlite3* db = connection.db();
    // A database already up to date is not written to, so that a read-only
    // one still answers what it holds.
    if (schemaVersion(connection) == sqliteMigrations().back().version) return {};
    if (StoreResult r = execute(db, "BEGIN IMMEDIATE"); !r.ok()) return r;
    StoreResult result =
        execute(db, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    std::int64_t version = 0;
    if (result.ok()) {
        Query query(connection, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
        if (query.step()) version = query.integer(0);
        result = query.result();
    }
    const auto& migrations = sqliteMigrations();
    if (result.ok() && version > migrations.back().version) {
        result.status = StoreStatus::kFailed;
        result.message = "the database's schema is version " + std::to_string(version) +
                         ", newer than this server's " + std::to_string(migrations.back().version);
    }
    for (const Migration& migration : migrations) {
        if (!result.ok()) break;
        if (migration.version <= version) continue;
        result = execute(db, std::string(migration.sql));
        if (result.ok()) {
            result = Query(connection, "INSERT INTO schema_version (version) VALUES (?)")
                         .bind(std::int64_t{migration.version})
                         .run();
        }
    }
    if (result.ok()) result = execute(db, "COMMIT");
    if (!result.ok()) execute(db, "ROLLBACK");
    return result;
}

RecordingStatus statusFromText(std::string_view text) {
    if (text == "verified") return RecordingStatus::kVerified;
    if (text == "rejected") return RecordingStatus::kRejected;
    return RecordingStatus::kQueued;
}

class SqliteStore final : public Store {
public:
    SqliteStore(std::string path, int connections)
        : path_(std::move(path)), pool_(static_cast<std::size_t>(connections), [this] {
              std::string error;
              return openConnection(path_, error);
          }) {}

    StoreResult ping() override {
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c, "SELECT 1");
        query.step();
        return query.result();
    }

    StoreResult ticketKey(std::string& key) override {
        auto c = pool_.borrow();
        if (!c) return unavailable();
        {
            Query query(*c, "SELECT value FROM server_keys WHERE name = 'tickets'");
            if (query.step()) {
                key = query.text(0);
                return {};
            }
            if (query.failed()) return query.result();
        }
        std::string made;
        if (!randomBytes(made, 32)) return {StoreStatus::kFailed, "no random bytes to make a key"};
        StoreResult result = Query(*c,
                                   "INSERT INTO server_keys (name, value) VALUES ('tickets', ?) "
                                   "ON CONFLICT (name) DO NOTHING")
                                 .bindBlob(made)
                                 .run();
        if (!result.ok()) return result;
        Query query(*c, "SELECT value FROM server_keys WHERE name = 'tickets'");
        if (query.step()) key = query.text(0);
        return query.result();
    }

    StoreResult ticketHolder(const std::string& nonce,
                             std::optional<TicketHolder>& holder) override {
        holder.reset();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c,
                    "SELECT t.recording_id, r.player_key, f.body FROM used_tickets t "
                    "JOIN recordings r ON r.id = t.recording_id "
                    "JOIN recording_files f ON f.id = t.recording_id WHERE t.nonce = ?");
        query.bind(nonce);
        if (query.step()) holder = TicketHolder{query.text(0), query.text(1), query.text(2)};
        return query.result();
    }

    StoreResult submit(const NewRecording& r, SubmitResult& outcome) override {
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Transaction transaction(*c);
        if (StoreResult begun = transaction.begin(); !begun.ok()) return begun;
        {
            Query query(*c, "SELECT 1 FROM recordings WHERE id = ?");
            query.bind(r.id);
            if (query.step()) {
                outcome = SubmitResult::kExists;
                return {};
            }
            if (query.failed()) return query.result();
        }
        StoreResult result = Query(*c,
                                   "INSERT INTO players (player_key, name, key_hash, created_ms) "
                                   "VALUES (?, ?, ?, ?) ON CONFLICT (player_key) DO NOTHING")
                                 .bind(r.playerKey)
                                 .bind(r.player)
                                 .bind(r.keyHash)
                                 .bind(r.submittedAtMs)
                                 .run();
        if (!result.ok()) return result;
        std::string shown;
        {
            Query query(*c, "SELECT name, key_hash FROM players WHERE player_key = ?");
            query.bind(r.playerKey);
            if (!query.step())
                return query.failed() ? query.result()
                                      : StoreResult{StoreStatus::kFailed, "the player vanished"};
            if (!sameSecret(query.text(1), r.keyHash)) {
                outcome = SubmitResult::kNameTaken;
                return {};
            }
            shown = query.text(0);
        }
        if (r.ticket) {
            // Taken, or taken over from the recording it extends while that
            // one still holds it.
            Query query(*c, r.extends ? "UPDATE used_tickets SET recording_id = ? "
                                        "WHERE nonce = ? AND recording_id = ?"
                                      : "INSERT INTO used_tickets (recording_id, nonce) "
                                        "VALUES (?, ?) ON CONFLICT (nonce) DO NOTHING");
            query.bind(r.id).bind(r.ticket->nonce);
            if (r.extends) query.bind(*r.extends);
            if (StoreResult used = query.run(); !used.ok()) return used;
            if (sqlite3_changes(c->db()) == 0) {
                outcome = SubmitResult::kTicketUsed;
                return {};
            }
        }
        result = Query(*c, "INSERT INTO recording_files (id, body) VALUES (?, ?)")
                     .bind(r.id)
                     .bindBlob(r.body)
                     .run();
        if (!result.ok()) return result;
        Query insert(*c,
                     "INSERT INTO recordings (id, player_key, player, submitted_ms, "
                     "ticket_issued_ms, extends_id) VALUES (?, ?, ?, ?, ?, ?)");
        insert.bind(r.id).bind(r.playerKey).bind(shown).bind(r.submittedAtMs);
        if (r.ticket) {
            insert.bind(r.ticket->issuedAtMs);
        } else {
            insert.bindNull();
        }
        if (r.extends) {
            insert.bind(*r.extends);
        } else {
            insert.bindNull();
        }
        if (result = insert.run(); !result.ok()) return result;
        if (result = transaction.commit(); !result.ok()) return result;
        outcome = SubmitResult::kQueued;
        return {};
    }

    StoreResult recording(const std::string& id, std::optional<RecordingInfo>& info) override {
        info.reset();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c,
                    "SELECT status, player, reason, ranked, unranked, submitted_ms, verify_us, "
                    "player_key FROM recordings WHERE id = ?");
        query.bind(id);
        if (!query.step()) return query.result();
        RecordingInfo found;
        found.id = id;
        found.status = statusFromText(query.text(0));
        found.player = query.text(1);
        found.reason = query.text(2);
        found.ranked = query.integer(3) != 0;
        found.unranked = query.text(4);
        found.submittedAtMs = query.integer(5);
        found.verifyMicros = query.integer(6);
        if (found.ranked) {
            if (StoreResult r = rankOf(*c, query.text(7), id, found.rank); !r.ok()) return r;
        }
        Query games(*c,
                    "SELECT number, score, level, end_tick FROM games WHERE recording_id = ? "
                    "ORDER BY number");
        games.bind(id);
        while (games.step()) {
            found.games.push_back(GameResult{
                static_cast<int>(games.integer(0)), static_cast<std::int32_t>(games.integer(1)),
                static_cast<std::int32_t>(games.integer(2)), games.integer(3)});
        }
        if (games.failed()) return games.result();
        info = std::move(found);
        return {};
    }

    // The place of the player's entry in the table, when it is this
    // recording's and within kMostRankCounted.
    static StoreResult rankOf(Connection& c, const std::string& playerKey, const std::string& id,
                              std::optional<std::int64_t>& rank) {
        Query entry(c,
                    "SELECT score, ended_ms FROM best_games WHERE player_key = ? AND "
                    "recording_id = ?");
        entry.bind(playerKey).bind(id);
        if (!entry.step()) return entry.result();
        const std::int64_t score = entry.integer(0);
        const std::int64_t endedMs = entry.integer(1);
        // The table's order: score, then the earlier game, then the id.
        Query above(c,
                    "SELECT count(*) FROM (SELECT 1 FROM best_games WHERE score > ?1 OR (score = "
                    "?1 AND (ended_ms < ?2 OR (ended_ms = ?2 AND recording_id < ?3))) LIMIT ?4)");
        above.bind(score).bind(endedMs).bind(id).bind(kMostRankCounted);
        if (!above.step()) return above.result();
        if (above.integer(0) < kMostRankCounted) rank = above.integer(0) + 1;
        return {};
    }

    StoreResult file(const std::string& id, std::optional<std::string>& body) override {
        body.reset();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c, "SELECT body FROM recording_files WHERE id = ?");
        query.bind(id);
        if (query.step()) body = query.text(0);
        return query.result();
    }

    StoreResult claimJob(const std::string& owner, std::int64_t nowMs, std::int64_t leaseMs,
                         std::optional<Job>& job) override {
        job.reset();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c,
                    "UPDATE recordings SET lease_owner = ?, lease_until_ms = ?, "
                    "attempts = attempts + 1 WHERE id = (SELECT id FROM recordings "
                    "WHERE status = 'queued' AND lease_until_ms < ? AND (extends_id IS NULL "
                    "OR NOT EXISTS (SELECT 1 FROM recordings e WHERE e.id = "
                    "recordings.extends_id AND e.status = 'queued')) ORDER BY submitted_ms "
                    "LIMIT 1) RETURNING id, player, player_key, submitted_ms, "
                    "ticket_issued_ms, attempts");
        query.bind(owner).bind(nowMs + leaseMs).bind(nowMs);
        if (!query.step()) return query.result();
        Job found;
        found.id = query.text(0);
        found.player = query.text(1);
        found.playerKey = query.text(2);
        found.submittedAtMs = query.integer(3);
        if (!query.isNull(4)) found.ticketIssuedAtMs = query.integer(4);
        found.attempts = static_cast<int>(query.integer(5)) - 1;
        query.step();  // finishes the statement, which commits it
        if (query.failed()) return query.result();
        Query body(*c, "SELECT body FROM recording_files WHERE id = ?");
        body.bind(found.id);
        if (body.step()) found.body = body.text(0);
        if (body.failed()) return body.result();
        job = std::move(found);
        return {};
    }

    StoreResult finishJob(const JobOutcome& o, bool& done) override {
        done = false;
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Transaction transaction(*c);
        if (StoreResult begun = transaction.begin(); !begun.ok()) return begun;
        Query update(*c,
                     "UPDATE recordings SET status = ?, reason = ?, ranked = ?, unranked = ?, "
                     "verified_ms = ?, verify_us = ?, lease_owner = NULL "
                     "WHERE id = ? AND status = 'queued'");
        update.bind(o.verified ? "verified" : "rejected")
            .bind(o.reason)
            .bind(std::int64_t{o.best.has_value()})
            .bind(o.unranked.value_or(""))
            .bind(o.verifiedAtMs)
            .bind(o.verifyMicros)
            .bind(o.id);
        if (StoreResult r = update.run(); !r.ok()) return r;
        if (sqlite3_changes(c->db()) == 0) return transaction.commit();
        for (const GameResult& game : o.games) {
            StoreResult r = Query(*c,
                                  "INSERT INTO games (recording_id, number, score, level, "
                                  "end_tick) VALUES (?, ?, ?, ?, ?)")
                                .bind(o.id)
                                .bind(std::int64_t{game.number})
                                .bind(std::int64_t{game.score})
                                .bind(std::int64_t{game.level})
                                .bind(game.endTick)
                                .run();
            if (!r.ok()) return r;
        }
        if (o.best) {
            if (StoreResult r = replaceEarlier(*c, o.id); !r.ok()) return r;
            StoreResult r =
                Query(*c,
                      "INSERT INTO best_games (player_key, player, score, level, game, "
                      "ended_ms, recording_id) VALUES (?, ?, ?, ?, ?, ?, ?) "
                      "ON CONFLICT (player_key) DO UPDATE SET player = excluded.player, "
                      "score = excluded.score, level = excluded.level, game = excluded.game, "
                      "ended_ms = excluded.ended_ms, recording_id = excluded.recording_id "
                      "WHERE excluded.score > best_games.score OR (excluded.score = "
                      "best_games.score AND excluded.ended_ms < best_games.ended_ms)")
                    .bind(o.playerKey)
                    .bind(o.player)
                    .bind(std::int64_t{o.best->game.score})
                    .bind(std::int64_t{o.best->game.level})
                    .bind(std::int64_t{o.best->game.number})
                    .bind(o.best->endedAtMs)
                    .bind(o.id)
                    .run();
            if (!r.ok()) return r;
        }
        StoreResult committed = transaction.commit();
        done = committed.ok();
        return committed;
    }

    StoreResult table(int limit, int offset, std::vector<TableRow>& rows) override {
        rows.clear();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c,
                    "SELECT player, score, level, game, ended_ms, recording_id FROM best_games "
                    "ORDER BY score DESC, ended_ms, recording_id LIMIT ? OFFSET ?");
        query.bind(std::int64_t{limit}).bind(std::int64_t{offset});
        while (query.step()) {
            rows.push_back(TableRow{query.text(0), static_cast<std::int32_t>(query.integer(1)),
                                    static_cast<std::int32_t>(query.integer(2)),
                                    static_cast<int>(query.integer(3)), query.integer(4),
                                    query.text(5)});
        }
        return query.result();
    }

    StoreResult playerGames(const std::string& playerKey, int limit, int offset,
                            std::optional<std::string>& player,
                            std::vector<PlayerGame>& games) override {
        games.clear();
        player.reset();
        auto c = pool_.borrow();
        if (!c) return unavailable();
        {
            Query query(*c, "SELECT name FROM players WHERE player_key = ?");
            query.bind(playerKey);
            if (query.step()) player = query.text(0);
            if (query.failed()) return query.result();
        }
        Query query(*c,
                    "SELECT r.id, g.number, g.score, g.level, g.end_tick, r.ranked, "
                    "r.submitted_ms FROM recordings r JOIN games g ON g.recording_id = r.id "
                    "WHERE r.player_key = ? AND r.status = 'verified' "
                    "ORDER BY r.submitted_ms DESC, r.id, g.number LIMIT ? OFFSET ?");
        query.bind(playerKey).bind(std::int64_t{limit}).bind(std::int64_t{offset});
        while (query.step()) {
            games.push_back(PlayerGame{
                query.text(0),
                GameResult{static_cast<int>(query.integer(1)),
                           static_cast<std::int32_t>(query.integer(2)),
                           static_cast<std::int32_t>(query.integer(3)), query.integer(4)},
                query.integer(5) != 0, query.integer(6)});
        }
        return query.result();
    }

    StoreResult queueDepth(std::int64_t& depth) override {
        depth = 0;
        auto c = pool_.borrow();
        if (!c) return unavailable();
        Query query(*c, "SELECT COUNT(*) FROM recordings WHERE status = 'queued'");
        if (query.step()) depth = query.integer(0);
        return query.result();
    }

private:
    // A ranked recording takes the place of the earlier one of its session:
    // the table's entry naming that one names it, and that one ranks no more.
    static StoreResult replaceEarlier(Connection& c, const std::string& id) {
        StoreResult r = Query(c,
                              "UPDATE best_games SET recording_id = ? WHERE recording_id = "
                              "(SELECT extends_id FROM recordings WHERE id = ?)")
                            .bind(id)
                            .bind(id)
                            .run();
        if (!r.ok()) return r;
        return Query(c,
                     "UPDATE recordings SET ranked = 0, unranked = ? WHERE id = "
                     "(SELECT extends_id FROM recordings WHERE id = ?) AND ranked = 1")
            .bind(replacedReason(id))
            .bind(id)
            .run();
    }

    StoreResult unavailable() const {
        return {StoreStatus::kUnavailable, "cannot open the database \"" + path_ + "\""};
    }

    std::string path_;
    ConnectionPool<Connection> pool_;
};

}  // namespace

std::unique_ptr<Store> openSqliteStore(const std::string& path, int connections,
                                       std::string& error) {
    std::unique_ptr<Connection> first = openConnection(path, error);
    if (!first) return nullptr;
    if (StoreResult migrated = migrate(*first); !migrated.ok()) {
        error = "cannot prepare the database \"" + path + "\": " + migrated.message;
        return nullptr;
    }
    return std::make_unique<SqliteStore>(path, connections);
}

}  // namespace kolvane::server
