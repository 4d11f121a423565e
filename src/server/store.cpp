#include "server/store.h"

#include <string_view>

#include "server/postgres_store.h"
#include "server/sqlite_store.h"

namespace kolvane::server {

std::unique_ptr<Store> openStore(const std::string& url, int connections, std::string& error) {
    const std::string_view u = url;
    if (u.substr(0, 13) == "postgresql://" || u.substr(0, 11) == "postgres://")
        return openPostgresStore(url, connections, error);
    if (u.substr(0, 7) == "sqlite:") return openSqliteStore(url.substr(7), connections, error);
    return openSqliteStore(url, connections, error);
}

const char* statusWord(RecordingStatus status) {
    switch (status) {
        case RecordingStatus::kVerified:
            return "verified";
        case RecordingStatus::kRejected:
            return "rejected";
        case RecordingStatus::kQueued:
            break;
    }
    return "queued";
}

}  // namespace kolvane::server

namespace kolvane::server {

std::string replacedReason(const std::string& longerId) {
    return "replaced by the longer recording " + longerId + " of the same session";
}

}  // namespace kolvane::server
