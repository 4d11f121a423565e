#include "server/schema.h"

#include <array>

namespace kolvane::server {

namespace {

constexpr std::array<Migration, 1> kSqlite{{
    {1, R"sql(
CREATE TABLE server_keys (name TEXT PRIMARY KEY, value BLOB NOT NULL);
CREATE TABLE players (
    player_key TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    key_hash TEXT NOT NULL,
    created_ms INTEGER NOT NULL);
CREATE TABLE recording_files (id TEXT PRIMARY KEY, body BLOB NOT NULL);
CREATE TABLE recordings (
    id TEXT PRIMARY KEY,
    player_key TEXT NOT NULL,
    player TEXT NOT NULL,
    submitted_ms INTEGER NOT NULL,
    ticket_issued_ms INTEGER,
    status TEXT NOT NULL DEFAULT 'queued',
    reason TEXT NOT NULL DEFAULT '',
    ranked INTEGER NOT NULL DEFAULT 0,
    unranked TEXT NOT NULL DEFAULT '',
    verified_ms INTEGER,
    verify_us INTEGER NOT NULL DEFAULT 0,
    lease_owner TEXT,
    lease_until_ms INTEGER NOT NULL DEFAULT 0,
    attempts INTEGER NOT NULL DEFAULT 0);
CREATE INDEX recordings_queue ON recordings (submitted_ms) WHERE status = 'queued';
CREATE INDEX recordings_player ON recordings (player_key, submitted_ms);
CREATE TABLE games (
    recording_id TEXT NOT NULL,
    number INTEGER NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    end_tick INTEGER NOT NULL,
    PRIMARY KEY (recording_id, number));
CREATE TABLE used_tickets (nonce TEXT PRIMARY KEY, recording_id TEXT NOT NULL);
CREATE TABLE best_games (
    player_key TEXT PRIMARY KEY,
    player TEXT NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    game INTEGER NOT NULL,
    ended_ms INTEGER NOT NULL,
    recording_id TEXT NOT NULL);
CREATE INDEX best_games_rank ON best_games (score DESC, ended_ms, recording_id)
)sql"},
}};

constexpr std::array<Migration, 1> kPostgres{{
    {1, R"sql(
CREATE TABLE server_keys (name TEXT PRIMARY KEY, value BYTEA NOT NULL);
CREATE TABLE players (
    player_key TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    key_hash TEXT NOT NULL,
    created_ms BIGINT NOT NULL);
CREATE TABLE recording_files (id TEXT PRIMARY KEY, body BYTEA NOT NULL);
CREATE TABLE recordings (
    id TEXT PRIMARY KEY,
    player_key TEXT NOT NULL,
    player TEXT NOT NULL,
    submitted_ms BIGINT NOT NULL,
    ticket_issued_ms BIGINT,
    status TEXT NOT NULL DEFAULT 'queued',
    reason TEXT NOT NULL DEFAULT '',
    ranked BOOLEAN NOT NULL DEFAULT FALSE,
    unranked TEXT NOT NULL DEFAULT '',
    verified_ms BIGINT,
    verify_us BIGINT NOT NULL DEFAULT 0,
    lease_owner TEXT,
    lease_until_ms BIGINT NOT NULL DEFAULT 0,
    attempts INTEGER NOT NULL DEFAULT 0);
CREATE INDEX recordings_queue ON recordings (submitted_ms) WHERE status = 'queued';
CREATE INDEX recordings_player ON recordings (player_key, submitted_ms);
CREATE TABLE games (
    recording_id TEXT NOT NULL,
    number INTEGER NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    end_tick BIGINT NOT NULL,
    PRIMARY KEY (recording_id, number));
CREATE TABLE used_tickets (nonce TEXT PRIMARY KEY, recording_id TEXT NOT NULL);
CREATE TABLE best_games (
    player_key TEXT PRIMARY KEY,
    player TEXT NOT NULL,
    score INTEGER NOT NULL,
    level INTEGER NOT NULL,
    game INTEGER NOT NULL,
    ended_ms BIGINT NOT NULL,
    recording_id TEXT NOT NULL);
CREATE INDEX best_games_rank ON best_games (score DESC, ended_ms, recording_id)
)sql"},
}};

}  // namespace

std::span<const Migration> sqliteMigrations() {
    return kSqlite;
}

std::span<const Migration> postgresMigrations() {
    return kPostgres;
}

}  // namespace kolvane::server
