#include "server/schema.h"

#include <array>
#include <string>
#include <utility>

namespace kolvane::server {

namespace {

// Each migration once, its types as placeholders that each database spells
// its own way: {bytes}, {int64} and {flag} (a boolean, false by default).
constexpr std::array<std::string_view, 2> kMigrations{
    R"sql(
CREATE TABLE server_keys (name TEXT PRIMARY KEY, value {bytes} NOT NULL);
CREATE TABLE players (
    player_key TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    key_hash TEXT NOT NULL,
    created_ms {int64} NOT NULL);
CREATE TABLE recording_files (id TEXT PRIMARY KEY, body {bytes} NOT NULL);
CREATE TABLE recordings (
    id TEXT PRIMARY KEY,
    player_key TEXT NOT NULL,
    player TEXT NOT NULL,
    submitted_ms {int64} NOT NULL,
    ticket_issued_ms {int64},
    status TEXT NOT NULL DEFAULT 'queued',
    reason TEXT NOT NULL DEFAULT '',
    ranked {flag},
    unranked TEXT NOT NULL DEFAULT '',
    verified_ms {int64},
    verify_us {int64} NOT NULL DEFAULT 0,
    lease_owner TEXT,
    lease_until_ms {int64} NOT NULL DEFAULT 0,
    attempts {int64} NOT NULL DEFAULT 0);
CREATE INDEX recordings_queue ON recordings (submitted_ms) WHERE status = 'queued';
CREATE INDEX recordings_player ON recordings (player_key, submitted_ms);
CREATE TABLE games (
    recording_id TEXT NOT NULL,
    number INTEGER NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    end_tick {int64} NOT NULL,
    PRIMARY KEY (recording_id, number));
CREATE TABLE used_tickets (nonce TEXT PRIMARY KEY, recording_id TEXT NOT NULL);
CREATE TABLE best_games (
    player_key TEXT PRIMARY KEY,
    player TEXT NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    game INTEGER NOT NULL,
    ended_ms {int64} NOT NULL,
    recording_id TEXT NOT NULL);
CREATE INDEX best_games_rank ON best_games (score DESC, ended_ms, recording_id)
)sql",
    // A session's later recordings: the one each goes on from.
    R"sql(
ALTER TABLE recordings ADD COLUMN extends_id TEXT
)sql"};

struct Spelling {
    std::string_view bytes;
    std::string_view int64;
    std::string_view flag;
};

std::vector<Migration> spelled(const Spelling& spelling) {
    std::vector<Migration> out;
    for (std::size_t i = 0; i < kMigrations.size(); ++i) {
        std::string sql(kMigrations[i]);
        for (const auto& [word, type] : {std::pair{std::string_view("{bytes}"), spelling.bytes},
                                         std::pair{std::string_view("{int64}"), spelling.int64},
                                         std::pair{std::string_view("{flag}"), spelling.flag}}) {
            for (std::size_t at = sql.find(word); at != std::string::npos; at = sql.find(word, at))
                sql.replace(at, word.size(), type);
        }
        out.push_back(Migration{static_cast<int>(i) + 1, std::move(sql)});
    }
    return out;
}

}  // namespace

const std::vector<Migration>& sqliteMigrations() {
    static const std::vector<Migration> migrations =
        spelled({"BLOB", "INTEGER", "INTEGER NOT NULL DEFAULT 0"});
    return migrations;
}

const std::vector<Migration>& postgresMigrations() {
    static const std::vector<Migration> migrations =
        spelled({"BYTEA", "BIGINT", "BOOLEAN NOT NULL DEFAULT FALSE"});
    return migrations;
}

}  // namespace kolvane::server
