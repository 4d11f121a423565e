// The key's file: created under a temporary name that no other file has
// (O_EXCL, mode 0600, never through a symbolic link), flushed, then linked to
// its own name only if that name is still free, so that a key once kept is
// never replaced. Windows: the same with CREATE_NEW and a move that does not
// replace; the config folder under %APPDATA% is the user's own.
#include <optional>
#include <string>

#include "app/network/player_key.h"
#include "app/network/player_key_file_io.h"
#include "app/network/system_random.h"

namespace kolvane {

namespace key_file {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
    unsigned char bytes[4] = {};
    systemRandomBytes(bytes, sizeof bytes);
    std::filesystem::path temporary = file;
    temporary += ".new-";
    for (const unsigned char b : bytes) temporary += std::to_string(b) + "-";
    temporary += "tmp";
    return temporary;
}

}  // namespace key_file

namespace {

using key_file::Kept;
using key_file::quoted;

// The key in a file's bytes: one line, its end optional.
std::optional<PlayerKey> keyIn(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return PlayerKey::fromText(text);
}

}  // namespace

std::optional<PlayerKey> loadOrCreatePlayerKey(const std::filesystem::path& file,
                                               std::string& error) {
    error.clear();
    if (file.empty()) {
        error = "no config folder to keep the player's key in";
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string text;
        if (key_file::readKeyFile(file, text, error)) {
            if (auto key = keyIn(text)) return key;
            error = quoted(file) + " does not hold a player key (left as it is)";
            return std::nullopt;
        }
        if (!error.empty()) return std::nullopt;
        // No key yet: make one.
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        auto key = PlayerKey::generate();
        if (!key) {
            error = "the system's random source gave no bytes";
            return std::nullopt;
        }
        switch (key_file::keepKeyFile(file, key->bearerCredential() + "\n", error)) {
            case Kept::kKept:
                return key;
            case Kept::kFailed:
                return std::nullopt;
            case Kept::kTaken:
                break;  // another process kept one first: read it
        }
    }
    error = "cannot keep a key in " + quoted(file);
    return std::nullopt;
}

}  // namespace kolvane
