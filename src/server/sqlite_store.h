#pragma once
// The leaderboard in one SQLite file (write-ahead log, every commit synced),
// for a server on one machine; a verifier-only process may share the file.
#include <memory>
#include <string>

#include "server/store.h"

namespace kolvane::server {

std::unique_ptr<Store> openSqliteStore(const std::string& path, int connections,
                                       std::string& error);

}  // namespace kolvane::server
