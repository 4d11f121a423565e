#pragma once
// The loopback server the HTTP client's tests talk to. On Linux a
// FakeLeaderboard in the test's own process; under Wine the Linux program
// kolvane-fake-leaderboard, started by tests/app/win32/network_test.sh, whose
// addresses come in KOLVANE_TEST_SERVER and KOLVANE_TEST_TLS_SERVER.
#include <cstdlib>
#include <memory>
#include <string>

#ifndef _WIN32
#include "app/network/fake_leaderboard.h"
#include "support/scratch.h"
#endif

namespace kolvane::testing {

class LoopbackServer {
public:
    explicit LoopbackServer(bool tls = false) {
#ifdef _WIN32
        const char* url = std::getenv(tls ? "KOLVANE_TEST_TLS_SERVER" : "KOLVANE_TEST_SERVER");
        url_ = url != nullptr ? url : "";
#else
        std::string folder;
        if (tls) {
            folder = scratchDir().string();
            if (!makeSelfSignedCertificate(folder)) return;
        }
        fake_ = std::make_unique<FakeLeaderboard>(0, folder);
        url_ = fake_->url();
#endif
    }

    // Empty when there is none (no openssl, or not started by the script).
    const std::string& url() const {
        return url_;
    }

private:
    std::string url_;
#ifndef _WIN32
    std::unique_ptr<FakeLeaderboard> fake_;
#endif
};

}  // namespace kolvane::testing
