#pragma once
// The leaderboard in one SQLite file, for a server on one machine; a
// verifier-only process may share the file. Written with a write-ahead log
// synced at its checkpoints (synchronous=NORMAL): a commit survives the
// process's crash, the file survives the machine's, and submissions don't
// wait for the disk (docs/server.md).
#include <memory>
#include <string>

#include "server/store.h"

namespace kolvane::server {

std::unique_ptr<Store> openSqliteStore(const std::string& path, int connections,
                                       std::string& error);

}  // namespace kolvane::server
