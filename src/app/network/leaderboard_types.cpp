#include "app/network/leaderboard_types.h"

#include <algorithm>

#include "app/network/api_fields.h"
#include "app/network/server_text.h"

namespace kolvane {

std::optional<RecordingId> RecordingId::fromText(std::string_view text) {
    const bool hex = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (text.size() != 64 || !hex) return std::nullopt;
    return RecordingId(std::string(text));
}

std::optional<PlayerName> PlayerName::fromText(std::string_view text) {
    if (text.empty() || text.size() > 4 * api::kMaxNameCharacters) return std::nullopt;
    // Printable already (nothing replaced), and not too long.
    if (printableServerText(text, api::kMaxNameCharacters) != text) return std::nullopt;
    return PlayerName(std::string(text));
}

}  // namespace kolvane
