#pragma once
// What the leaderboard server answers, as plain values. Every text in them
// came from the server and has been made printable (server_text.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// A recording's id on the server: the SHA-256 of its bytes, as 64 lowercase
// hexadecimal digits. Only ids in that form are ever put in an address.
class RecordingId {
public:
    static std::optional<RecordingId> fromText(std::string_view text);
    const std::string& text() const { return hex_; }
    friend bool operator==(const RecordingId&, const RecordingId&) = default;

private:
    explicit RecordingId(std::string hex) : hex_(std::move(hex)) {}
    std::string hex_;
};

// The player's name for the world table as the settings give it: 1 to 20
// characters of UTF-8 text without control characters. The server has the
// last word on which names it takes.
class PlayerName {
public:
    static std::optional<PlayerName> fromText(std::string_view text);
    const std::string& text() const { return name_; }

private:
    explicit PlayerName(std::string name) : name_(std::move(name)) {}
    std::string name_;
};

// A ranked session's start: the clock the server chose and its signed token,
// which the recording carries as a "ticket TOKEN" line. The token is checked
// with the script reader's own rule (isTicket), so it can't break that line.
struct Ticket {
    std::string token;
    std::int32_t clockSeconds = 0;
};

struct Submission {
    RecordingId id;
    bool alreadySent = false;  // the server had these bytes before (200, not 202)
};

enum class VerdictStatus { kQueued, kVerified, kRejected };

struct VerifiedGame {
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::int64_t endTick = 0;
};

struct Verdict {
    RecordingId id;
    VerdictStatus status = VerdictStatus::kQueued;
    bool ranked = false;
    std::optional<std::int64_t> rank;  // when the server gives one
    std::string reason;                // why rejected, or why verified but not ranked
    std::string player;
    std::vector<VerifiedGame> games;
};

struct WorldEntry {
    std::int64_t rank = 0;
    std::string player;
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::int64_t date = 0;  // seconds since 1970, UTC
    RecordingId recording;
};

struct WorldTable {
    std::vector<WorldEntry> entries;  // in the server's order
};

// Why there is no answer. kUnreachable: the network, a time-out, or the
// server down or busy (5xx, 429): worth trying again later. kRefused: the
// server said no (4xx) with its reason. kBadAnswer: an answer not in the
// form the API gives (a wrong status, too large, not the expected JSON).
enum class ServerProblem { kUnreachable, kRefused, kBadAnswer };

struct ServerError {
    ServerProblem problem = ServerProblem::kUnreachable;
    std::string text;  // one line, printable
};

// An answer or the error that took its place.
template <class T>
struct ServerAnswer {
    std::optional<T> value;
    ServerError error;

    explicit operator bool() const { return value.has_value(); }
};

}  // namespace kolvane
