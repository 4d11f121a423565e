#pragma once
// kolvane-server's options, from the command line or, for service managers,
// from KOLVANE_* environment variables (the command line wins).
#include <cstdint>
#include <functional>
#include <string>

namespace kolvane::server {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string db;    // empty: DATA/leaderboard.sqlite
    int workers = -1;  // -1: one per core; 0: none (another process verifies)
    bool verifyOnly = false;
    std::string webDir;
    std::string cors;
    int threads = 64;
    int submitsPerMinute = 30;
    int ticketsPerMinute = 60;
    int cpuCapSeconds = 60;
    int leaseSeconds = 120;
    bool behindProxy = false;
    // One of the server's own verifier processes (verifier_processes.h).
    bool verifierProcess = false;
    // The program those processes run: this one.
    std::string verifierProgram = "/proc/self/exe";
    bool help = false;
    bool version = false;
};

extern const char* const kServerUsage;

// Reads env (a getenv) then argv; false with error set on a mistake.
bool parseServerOptions(int argc, const char* const* argv,
                        const std::function<const char*(const char*)>& env, ServerOptions& options,
                        std::string& error);

// "HOST:PORT" or "[V6]:PORT"; false for anything else.
bool parseListen(const std::string& text, std::string& host, int& port);

// The default database: $XDG_DATA_HOME/kolvane-server/leaderboard.sqlite
// (~/.local/share/... without it); the folder is made. Empty with error set
// when there is no home to put it in or it can't be made.
std::string defaultDatabase(const std::function<const char*(const char*)>& env, std::string& error);

}  // namespace kolvane::server
