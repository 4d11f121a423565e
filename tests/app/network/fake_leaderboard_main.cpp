// kolvane-fake-leaderboard [--read-rate BYTES_PER_SECOND] [CERT_FOLDER]: the
// tests' stand-in for kolvane-server as a program, on free loopback ports.
// Prints its address (and, given a folder for a self-signed certificate, its
// HTTPS address) on one line, then serves until SIGTERM or SIGINT. With
// --read-rate it reads each submission no faster (bench/pacing.sh).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/network/fake_leaderboard.h"

int main(int argc, char** argv) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    // Blocked before the servers' threads start, so that sigwait takes them.
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    int readRate = 0;
    if (argc > 2 && std::strcmp(argv[1], "--read-rate") == 0) {
        readRate = std::atoi(argv[2]);
        argc -= 2;
        argv += 2;
    }
    kolvane::testing::FakeLeaderboard plain(0, "", readRate);
    std::unique_ptr<kolvane::testing::FakeLeaderboard> tls;
    if (argc > 1 && kolvane::testing::makeSelfSignedCertificate(argv[1])) {
        tls = std::make_unique<kolvane::testing::FakeLeaderboard>(0, argv[1], readRate);
    }
    std::printf("%s %s\n", plain.url().c_str(), tls ? tls->url().c_str() : "-");
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
