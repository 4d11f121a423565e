#pragma once
// The player's secret key: it claims the player's name on the server, which
// keeps only a hash of it. Made on the first submission from the system's
// random source (32 bytes, written as 64 hexadecimal digits) and kept in its
// own file in the config folder, readable by its owner only. It is never
// shown or logged: the only way out of this type is the Authorization header.
// Losing the file loses the name.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

inline constexpr const char* kPlayerKeyFileName = "player.key";

class PlayerKey {
public:
    // 64 lowercase hexadecimal digits; nothing for anything else.
    static std::optional<PlayerKey> fromText(std::string_view text);
    // A new key from the system's random source; nothing when it fails.
    static std::optional<PlayerKey> generate();

    // The credential of the Authorization: Bearer header, and nothing else.
    const std::string& bearerCredential() const { return hex_; }

private:
    explicit PlayerKey(std::string hex) : hex_(std::move(hex)) {}
    std::string hex_;
};

// The key kept in file, made and kept there first when there is none. Two
// processes that make one at once agree on the one that was kept first. A
// file that is not a key is left as it is (it may be the only copy of the
// player's key) and refused: nothing with error set.
std::optional<PlayerKey> loadOrCreatePlayerKey(const std::filesystem::path& file,
                                               std::string& error);

}  // namespace kolvane
