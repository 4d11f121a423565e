// kolvane-fake-leaderboard [CERT_FOLDER]: the tests' stand-in for
// kolvane-server as a program, on free loopback ports. Prints its address
// (and, given a folder for a self-signed certificate, its HTTPS address) on
// one line, then serves until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/network/fake_leaderboard.h"

int main(int argc, char** argv) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    // Blocked before the servers' threads start, so that sigwait takes them.
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    kolvane::testing::FakeLeaderboard plain;
    std::unique_ptr<kolvane::testing::FakeLeaderboard> tls;
    if (argc > 1 && kolvane::testing::makeSelfSignedCertificate(argv[1])) {
        tls = std::make_unique<kolvane::testing::FakeLeaderboard>(0, argv[1]);
    }
    std::printf("%s %s\n", plain.url().c_str(), tls ? tls->url().c_str() : "-");
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
