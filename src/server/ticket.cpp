#include "server/ticket.h"

#include <charconv>
#include <cstring>

#include "server/digest.h"

namespace kolvane::server {

namespace {

constexpr std::string_view kVersion = "1";
constexpr std::size_t kNonceDigits = 32;
constexpr std::size_t kSignatureDigits = 64;

std::string signedPart(const Ticket& ticket) {
    return std::string(kVersion) + "." + std::to_string(ticket.clock) + "." +
           std::to_string(ticket.issuedAtMs) + "." + ticket.nonce;
}

bool isHex(std::string_view text, std::size_t digits) {
    if (text.size() != digits) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

template <class T>
bool readNumber(std::string_view text, T& value) {
    if (text.empty() || text.size() > 19 || (text.size() > 1 && text[0] == '0')) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() && value >= 0;
}

// The next field up to a '.', or the rest.
std::string_view field(std::string_view& text) {
    const std::size_t dot = text.find('.');
    const std::string_view out = text.substr(0, dot);
    text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    return out;
}

}  // namespace

std::optional<Ticket> newTicket(std::int64_t nowMs) {
    std::string random;
    if (!randomBytes(random, 4 + kNonceDigits / 2)) return std::nullopt;
    std::uint32_t draw = 0;
    std::memcpy(&draw, random.data(), sizeof draw);
    Ticket ticket;
    ticket.clock = kTicketClockLow +
                   static_cast<std::int32_t>(
                       draw % static_cast<std::uint32_t>(kTicketClockHigh - kTicketClockLow));
    ticket.issuedAtMs = nowMs;
    ticket.nonce = sha256Hex(random).substr(0, kNonceDigits);
    return ticket;
}

std::string ticketToken(const Ticket& ticket, std::string_view key) {
    const std::string part = signedPart(ticket);
    return part + "." + hmacSha256Hex(key, part);
}

std::optional<Ticket> readTicket(std::string_view token, std::string_view key,
                                 std::string& problem) {
    std::string_view rest = token;
    const std::string_view version = field(rest);
    const std::string_view clock = field(rest);
    const std::string_view issued = field(rest);
    const std::string_view nonce = field(rest);
    const std::string_view signature = rest;
    Ticket ticket;
    if (version != kVersion || !readNumber(clock, ticket.clock) ||
        !readNumber(issued, ticket.issuedAtMs) || !isHex(nonce, kNonceDigits) ||
        !isHex(signature, kSignatureDigits)) {
        problem = "the ticket is not in the form this server issues";
        return std::nullopt;
    }
    ticket.nonce = std::string(nonce);
    if (!sameSecret(hmacSha256Hex(key, signedPart(ticket)), signature)) {
        problem = "the ticket was not issued by this server, or was changed";
        return std::nullopt;
    }
    return ticket;
}

}  // namespace kolvane::server
