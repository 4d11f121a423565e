// kolvane-server: the world leaderboard. It takes recordings over HTTP,
// re-plays each with the game's own code and ranks only the games that verify
// (docs/server.md).
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/version.h"
#include "server/leaderboard_server.h"
#include "server/server_options.h"

int main(int argc, char** argv) {
    using namespace kolvane::server;
    const auto env = [](const char* name) -> const char* { return std::getenv(name); };
    ServerOptions options;
    std::string error;
    if (!parseServerOptions(argc, argv, env, options, error)) {
        std::fprintf(stderr, "kolvane-server: %s\n%s\n", error.c_str(), kServerUsage);
        return 2;
    }
    if (options.help) {
        std::printf("%s\n", kServerUsage);
        return 0;
    }
    if (options.version) {
        std::printf("kolvane-server %s\n", kolvane::kVersion);
        return 0;
    }
    if (options.db.empty()) {
        options.db = defaultDatabase(env, error);
        if (options.db.empty()) {
            std::fprintf(stderr, "kolvane-server: %s\n", error.c_str());
            return 1;
        }
    }
    // SIGINT and SIGTERM end the server, handled on a thread of their own.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);  // a verifier process: a recording was queued
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    LeaderboardServer server(options, systemNowMs);
    if (!server.open(error)) {
        std::fprintf(stderr, "kolvane-server: %s\n", error.c_str());
        return 1;
    }
    if (options.verifierProcess) {
        // Quiet: its server has said where it is.
    } else if (options.verifyOnly) {
        std::printf("kolvane-server: verifying for %s\n",
                    options.db.rfind("postgres", 0) == 0 ? "PostgreSQL" : options.db.c_str());
    } else {
        const bool v6 = options.host.find(':') != std::string::npos;
        std::printf("kolvane-server: listening on http://%s%s%s:%d/\n", v6 ? "[" : "",
                    options.host.c_str(), v6 ? "]" : "", server.port());
    }
    std::fflush(stdout);
    std::thread stopper([&] {
        int signal = 0;
        while (sigwait(&signals, &signal) == 0 && signal == SIGUSR1) server.wake();
        server.stop();
    });
    server.run();
    // The stopper waits for a signal that may never come when the server
    // stopped by itself; it ends with the process.
    stopper.detach();
    return 0;
}
