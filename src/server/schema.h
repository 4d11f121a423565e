#pragma once
// The leaderboard's tables, the same in SQLite and PostgreSQL but for their
// types, as numbered migrations: a database records the last one it took, and
// a server applies those after it when it opens the database.
//
//   players      a name (its key: the case fold) and the hash of the secret
//                key that claimed it
//   recordings   who sent each recording and when, its ticket's issue time,
//                the verdict, and the queue's lease
//   recording_files  the exact bytes submitted (apart, so that a verdict
//                does not write them again)
//   games        each verified recording's games
//   used_tickets the nonce of every ticket a recording used
//   best_games   each player's best ranked game: the table, ordered by the
//                index best_games_rank (score down, then the earlier game)
//   server_keys  the key that signs tickets
#include <string>
#include <vector>

namespace kolvane::server {

struct Migration {
    int version;
    std::string sql;  // statements separated by ';'
};

const std::vector<Migration>& sqliteMigrations();
const std::vector<Migration>& postgresMigrations();

}  // namespace kolvane::server
