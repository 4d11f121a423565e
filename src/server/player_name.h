#pragma once
// Players' names as the world table shows them: 1 to 20 characters, each a
// letter of any script (with the marks that follow it), a digit, a space, '.',
// '_' or '-'; no control or invisible character, no space at either end or two
// in a row. Names are kept in Unicode's composed form (NFC) and compared by
// their key, the NFKC case fold, so "Ann", "ANN" and a full-width "ＡＮＮ" are
// one player.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane::server {

inline constexpr std::size_t kMaxNameCharacters = 20;

struct PlayerName {
    std::string shown;  // NFC, UTF-8
    std::string key;    // NFKC case fold, UTF-8
};

// The name, or nothing with problem set ("the name is empty", ...).
std::optional<PlayerName> readPlayerName(std::string_view text, std::string& problem);

}  // namespace kolvane::server
