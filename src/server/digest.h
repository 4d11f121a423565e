#pragma once
// The server's cryptography, all of it OpenSSL's: SHA-256 (a recording's id,
// a player's key kept only as its hash), HMAC-SHA-256 (a ticket's signature)
// and the system's random bytes (ticket clocks and nonces, the signing key).
#include <cstddef>
#include <string>
#include <string_view>

namespace kolvane::server {

// 64 lower-case hex digits.
std::string sha256Hex(std::string_view bytes);
std::string hmacSha256Hex(std::string_view key, std::string_view message);

// n bytes from the system's random source; false when it has none to give.
bool randomBytes(std::string& out, std::size_t n);

// Equal texts, compared in a time that does not depend on where they differ.
bool sameSecret(std::string_view a, std::string_view b);

}  // namespace kolvane::server
