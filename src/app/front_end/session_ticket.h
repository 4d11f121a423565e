#pragma once
// A leaderboard server's ticket: the start clock it chose for a session that
// may rank, and the signed token the recording carries as its `ticket TOKEN`
// line. A plain value, so that any front end can hand one to Playing
// (playing.h) however it fetched it: the desktop windows through their
// network worker, the web page from its own JavaScript.
#include <cstdint>
#include <string>

#include "app/session/script.h"

namespace kolvane {

struct SessionTicket {
    std::int32_t clockSeconds = 0;  // the session's start, as the recording's `clock`
    std::string token;              // 1 to 200 of A-Z a-z 0-9 . _ -
    friend bool operator==(const SessionTicket&, const SessionTicket&) = default;
};

// Whether a recording can start from it: a token its `ticket` line takes and
// a clock its `clock` line takes. The server's answer is untrusted.
inline bool isUsableTicket(const SessionTicket& ticket) {
    return ticket.clockSeconds >= 0 && isTicket(ticket.token);
}

}  // namespace kolvane
