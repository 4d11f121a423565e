#pragma once
// Tickets: the start of a session that may rank. The server chooses the start
// clock at random, notes when it issued it, and signs both with a key only the
// servers know, so a ticket can't be made, moved to another clock or dated
// back. Its token is the line `ticket TOKEN` of a recording, so it uses only
// the characters such a line takes (A-Z a-z 0-9 . _ -):
//
//     1.CLOCK.ISSUED_MS.NONCE.SIGNATURE
//
// with NONCE 32 and SIGNATURE 64 hex digits (HMAC-SHA-256 of what comes
// before it). The nonce makes every ticket single: the store keeps each
// nonce used.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane::server {

struct Ticket {
    std::int32_t clock = 0;       // the session's start, as `clock` in the recording
    std::int64_t issuedAtMs = 0;  // the server's clock, ms since 1970
    std::string nonce;            // 32 hex digits
};

// The clocks tickets choose from: whole seconds the replay clock takes, far
// from the 32-bit wrap.
inline constexpr std::int32_t kTicketClockLow = 1000000000;
inline constexpr std::int32_t kTicketClockHigh = 2000000000;

// A new ticket from the system's random source; nothing when it has none.
std::optional<Ticket> newTicket(std::int64_t nowMs);

std::string ticketToken(const Ticket& ticket, std::string_view key);

// The ticket a token carries, when this key signed it; otherwise nothing with
// problem set.
std::optional<Ticket> readTicket(std::string_view token, std::string_view key,
                                 std::string& problem);

}  // namespace kolvane::server
