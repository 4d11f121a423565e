#pragma once
// The leaderboard's command-line actions, for the program's entry to call:
//
//   kolvane --submit FILE   sends a recording, waits (bounded) for its
//                           verdict and prints it in one line; exit status
//                           kVerified (0), kRejected (3: the server rejected
//                           or refused it) or kNoVerdict (1: no server set,
//                           the server can't be reached, or no verdict in
//                           time)
//   kolvane --world         prints the top of the world table
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/network/http_client.h"
#include "app/network/outbox_sender.h"

namespace kolvane {

namespace exit_status {
inline constexpr int kVerified = 0;
inline constexpr int kNoVerdict = 1;
inline constexpr int kRejected = 3;
}  // namespace exit_status

// How long --submit waits for a verdict, and how often it asks.
struct VerdictWait {
    int totalMs = 60000;
    int firstPollMs = 250;  // doubled after each "queued", up to everyPollMs
    int everyPollMs = 2000;
};

struct CommandSetup {
    std::string server;     // the settings' server; empty: none set
    PlayerIdentity player;  // for --submit
    HttpTimeouts timeouts;
    VerdictWait wait;
    HttpClient* http = nullptr;  // null: the platform's client
    std::FILE* out = stdout;
    std::FILE* errors = stderr;
};

int submitCommand(const CommandSetup& setup, const std::filesystem::path& recordingFile);

// The first `count` entries of the world table (1 to 100).
int worldCommand(const CommandSetup& setup, int count = 10);

}  // namespace kolvane
