#include "app/network/player_key.h"

#include <algorithm>
#include <array>

#include "app/network/system_random.h"

namespace kolvane {

namespace {

constexpr std::size_t kKeyBytes = 32;

}  // namespace

std::optional<PlayerKey> PlayerKey::fromText(std::string_view text) {
    const bool hex = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (text.size() != 2 * kKeyBytes || !hex) return std::nullopt;
    return PlayerKey(std::string(text));
}

std::optional<PlayerKey> PlayerKey::generate() {
    std::array<unsigned char, kKeyBytes> bytes{};
    if (!systemRandomBytes(bytes.data(), bytes.size())) return std::nullopt;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char b : bytes) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    bytes.fill(0);
    return PlayerKey(std::move(hex));
}

}  // namespace kolvane
