#pragma once
// The leaderboard server's API as this client reads it: the paths, the JSON
// field names, the statuses and the caps on what it accepts. Kept in this one
// file so that they can be aligned with the server's in one place.
//
//   POST /api/tickets                   -> 201 {"ticket": TOKEN, "clock": SECONDS}
//   POST /api/recordings?player=NAME    -> 202 {"id": SHA256, "status": "queued"}
//        (the recording as text/plain,     200 the same, for bytes already sent
//        Authorization: Bearer KEY)
//   GET  /api/recordings/ID             -> 200 {"id", "status": queued|verified|rejected,
//                                              "ranked", "unranked_reason", "reason",
//                                              "player", "rank", "games": [{"score",
//                                              "level", "end_tick"}], ...}
//   GET  /api/scores?limit=N&offset=M   -> 200 {"scores": [{"rank", "player", "score",
//                                              "level", "date", "recording"}]}
//   any refusal                         -> 4xx {"error": MESSAGE}
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kolvane::api {

inline constexpr std::string_view kTicketsPath = "/api/tickets";
inline constexpr std::string_view kRecordingsPath = "/api/recordings";  // + "/ID"
inline constexpr std::string_view kScoresPath = "/api/scores";
inline constexpr std::string_view kPlayerParameter = "player";
inline constexpr std::string_view kRecordingType = "text/plain; charset=utf-8";

// Statuses.
inline constexpr int kCreated = 201;
inline constexpr int kAccepted = 202;  // a new recording, queued
inline constexpr int kOk = 200;        // also: a recording already sent

// A ticket.
inline constexpr const char* kTicket = "ticket";
inline constexpr const char* kClock = "clock";

// A submission and a recording's verdict.
inline constexpr const char* kId = "id";
inline constexpr const char* kStatus = "status";
inline constexpr std::string_view kQueued = "queued";
inline constexpr std::string_view kVerified = "verified";
inline constexpr std::string_view kRejected = "rejected";
inline constexpr const char* kRanked = "ranked";
inline constexpr const char* kUnrankedReason =
    "unranked_reason";                            // why a verified game doesn't rank
inline constexpr const char* kReason = "reason";  // why it was rejected
inline constexpr const char* kPlayer = "player";
inline constexpr const char* kRank = "rank";  // optional: the best game's place in the table
inline constexpr const char* kGames = "games";
inline constexpr const char* kScore = "score";
inline constexpr const char* kLevel = "level";
inline constexpr const char* kEndTick = "end_tick";

// The world table: an object with the list, or the list alone.
inline constexpr const char* kScores = "scores";
inline constexpr const char* kDate = "date";  // seconds since 1970, or "2026-12-08T20:22:05Z"
inline constexpr const char* kRecording = "recording";

// A refusal's message.
inline constexpr const char* kError = "error";

// What the client sends and accepts.
inline constexpr std::size_t kMaxRecordingBytes = std::size_t{2} << 20;  // the server's cap
inline constexpr std::size_t kMaxTicketAnswer = 4096;
inline constexpr std::size_t kMaxSubmissionAnswer = 4096;
inline constexpr std::size_t kMaxVerdictAnswer = std::size_t{256} << 10;
inline constexpr std::size_t kMaxTableAnswer = std::size_t{256} << 10;
inline constexpr int kMaxTableLimit = 100;
inline constexpr std::size_t kMaxGames = 4096;  // in one verdict
// Texts from the server are cut to this many characters when kept.
inline constexpr std::size_t kMaxReasonCharacters = 200;
inline constexpr std::size_t kMaxNameCharacters = 20;

}  // namespace kolvane::api
