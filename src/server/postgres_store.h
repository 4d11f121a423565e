#pragma once
// The leaderboard in PostgreSQL, shared by any number of servers and
// verifier-only processes: the queue is claimed with FOR UPDATE SKIP LOCKED,
// the schema migrated under an advisory lock so that servers starting
// together migrate it once. A connection that breaks (the database restarted)
// answers "unavailable" and is opened again on its next use.
#include <memory>
#include <string>

#include "server/store.h"

namespace kolvane::server {

std::unique_ptr<Store> openPostgresStore(const std::string& url, int connections,
                                         std::string& error);

}  // namespace kolvane::server
