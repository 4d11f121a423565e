#pragma once
// Where the leaderboard keeps everything: one small interface, with SQLite
// (one machine, a file in the data folder) and PostgreSQL (any number of
// servers and verifiers sharing it) behind it. Each implementation creates
// and migrates its own schema, versioned, and prepares every statement.
//
// The recordings double as the verification queue: a queued recording is
// claimed by a worker for a lease; a worker that dies leaves its lease to
// run out, and the recording is claimed again. Finishing a job changes only
// a recording still queued, so a job verified twice is recorded once (and
// verification is exact: both would agree anyway).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/replay/recording.h"

namespace kolvane::server {

enum class StoreStatus : std::uint8_t {
    kOk,
    kUnavailable,  // the database does not answer (HTTP 503)
    kFull,         // its disk is full (HTTP 507)
    kReadOnly,     // it takes no writes (HTTP 503)
    kFailed,       // anything else (HTTP 500)
};

struct StoreResult {
    StoreStatus status = StoreStatus::kOk;
    std::string message;
    bool ok() const { return status == StoreStatus::kOk; }
};

struct TicketUse {
    std::string nonce;
    std::int64_t issuedAtMs = 0;
};

struct NewRecording {
    std::string id;  // SHA-256 of the bytes, hex
    std::string body;
    std::string player;     // as shown
    std::string playerKey;  // as compared
    std::string keyHash;    // SHA-256 of the player's secret key, hex
    std::int64_t submittedAtMs = 0;
    std::optional<TicketUse> ticket;
    // The recording of the same session, from the same ticket, that this one
    // goes on from (session_extension.h): it takes the ticket over from it.
    std::optional<std::string> extends;
};

// The recording that holds a ticket now: the last one of its session.
struct TicketHolder {
    std::string id;
    std::string playerKey;
    std::string body;
};

enum class SubmitResult : std::uint8_t {
    kQueued,      // a new recording, queued for verification
    kExists,      // these bytes were submitted before: nothing changed
    kTicketUsed,  // another recording used its ticket (or took it over from `extends`)
    kNameTaken,   // the name belongs to another key
};

struct Job {
    std::string id;
    std::string body;
    std::string player;
    std::string playerKey;
    std::int64_t submittedAtMs = 0;
    std::optional<std::int64_t> ticketIssuedAtMs;
    int attempts = 0;  // claims before this one
};

// A recording's best game, the one the table may show.
struct BestGame {
    GameResult game;
    std::int64_t endedAtMs = 0;  // when it ended, by the server's clock
};

struct JobOutcome {
    std::string id;
    bool verified = false;
    std::string reason;  // rejected: the verifier's words
    std::vector<GameResult> games;
    std::optional<std::string> unranked;  // verified but not ranked: why
    std::optional<BestGame> best;         // ranked: the game for the table
    std::string player;
    std::string playerKey;
    std::int64_t verifiedAtMs = 0;
    std::int64_t verifyMicros = 0;  // CPU time
};

enum class RecordingStatus : std::uint8_t { kQueued, kVerified, kRejected };

// How far down the table a recording's place is counted: the count costs a
// step of the table's index for each entry above it.
inline constexpr std::int64_t kMostRankCounted = 10000;

struct RecordingInfo {
    std::string id;
    RecordingStatus status = RecordingStatus::kQueued;
    std::string player;
    std::string reason;
    bool ranked = false;
    // Its place in the table when it holds its player's entry there, within
    // the first kMostRankCounted; nothing otherwise.
    std::optional<std::int64_t> rank;
    std::string unranked;
    std::vector<GameResult> games;
    std::int64_t submittedAtMs = 0;
    std::int64_t verifyMicros = 0;
};

struct TableRow {
    std::string player;
    std::int32_t score = 0;
    std::int32_t level = 0;
    int game = 0;
    std::int64_t endedAtMs = 0;
    std::string recording;
};

struct PlayerGame {
    std::string recording;
    GameResult game;
    bool ranked = false;
    std::int64_t submittedAtMs = 0;
};

class Store {
public:
    virtual ~Store() = default;

    // A trivial query: the database answers.
    virtual StoreResult ping() = 0;
    // The key that signs tickets: made once, at random, shared by every
    // server of the database.
    virtual StoreResult ticketKey(std::string& key) = 0;
    // The recording that holds a ticket's nonce, when one does.
    virtual StoreResult ticketHolder(const std::string& nonce,
                                     std::optional<TicketHolder>& holder) = 0;
    // Claims the name for the key hash when it is free, takes the ticket's
    // nonce (or takes it over from the recording it extends, if that one
    // still holds it) and queues the recording: all of it or nothing.
    virtual StoreResult submit(const NewRecording& recording, SubmitResult& result) = 0;
    virtual StoreResult recording(const std::string& id, std::optional<RecordingInfo>& info) = 0;
    virtual StoreResult file(const std::string& id, std::optional<std::string>& body) = 0;
    // The oldest queued recording whose lease ran out, leased to owner; not
    // one whose earlier recording of the same session is still queued, so
    // that a session's recordings get their verdicts in order.
    virtual StoreResult claimJob(const std::string& owner, std::int64_t nowMs, std::int64_t leaseMs,
                                 std::optional<Job>& job) = 0;
    // Records the verdict of a recording still queued (done says whether it
    // was) and, for a ranked one, puts its best game in the table when it
    // beats the player's. A ranked recording that extends an earlier one
    // takes its place: the table's entry that named the earlier names it,
    // and the earlier no longer ranks (replacedReason says why).
    virtual StoreResult finishJob(const JobOutcome& outcome, bool& done) = 0;
    // Each player's best ranked game, by score, the earlier first on a tie.
    virtual StoreResult table(int limit, int offset, std::vector<TableRow>& rows) = 0;
    // A player's verified games, the latest first; player is set to the name
    // as shown when it is known.
    virtual StoreResult playerGames(const std::string& playerKey, int limit, int offset,
                                    std::optional<std::string>& player,
                                    std::vector<PlayerGame>& games) = 0;
    virtual StoreResult queueDepth(std::int64_t& depth) = 0;
};

// Opens the database a --db value names: postgresql://... or postgres://...
// (any libpq connection URI), sqlite:PATH, or a plain PATH of a SQLite file.
// Creates or migrates its schema. Nothing with error set when it can't.
std::unique_ptr<Store> openStore(const std::string& url, int connections, std::string& error);

const char* statusWord(RecordingStatus status);

// Why a recording no longer ranks once the longer one of its session does.
std::string replacedReason(const std::string& longerId);

}  // namespace kolvane::server
