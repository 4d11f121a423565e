#pragma once
// The world table of the desktop windows: the world link (world_link.h) over
// the leaderboard's network worker (app/network/network_worker.h), the same
// for the SDL and the Win32 window. It asks for a ticket as it is made, so
// that the ticket comes while the window opens; the session waits for it
// kTicketWaitMs at most from then. Everything else runs on the worker: the
// ticking thread only posts jobs and takes answers, never waits.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/front_end/world_link.h"
#include "app/network/network_worker.h"
#include "app/settings/settings.h"

namespace kolvane {

class DesktopWorld final : public WorldLink {
public:
    // How long the session waits for its ticket, from the moment this was made.
    static constexpr int kTicketWaitMs = 1500;
    // How many entries of the world table the title screen shows.
    static constexpr int kTopCount = 10;

    // askTicket: this session may start from a ticket (it is recorded).
    DesktopWorld(NetworkSetup setup, bool askTicket, std::unique_ptr<HttpClient> http = nullptr);

    std::optional<SessionTicket> awaitTicket() override;
    void open() override;
    void submit(const std::string& name, std::string recording) override;
    void afterTick(std::int64_t ticks) override;
    void finish() override;
    bool verified(const ScoreEntry& entry) const override;
    const std::vector<WorldRow>* topTen() const override;
    int changes() const override { return changes_; }

private:
    // A recording sent, whose verdict is still to come.
    struct Awaited {
        RecordingId id;
        std::string name;
        std::int64_t dueTick = 0;
        std::int64_t waitTicks = 0;
        int asks = 0;
        bool asked = false;
    };

    void take(NetworkResult& result);
    void takeVerdict(VerdictResult& result);

    NetworkWorker worker_;
    bool ticketAsked_;
    std::chrono::steady_clock::time_point ticketDeadline_;
    std::vector<Awaited> awaited_;
    std::vector<VerifiedGameMark> verified_;
    std::optional<std::vector<WorldRow>> topTen_;
    std::int64_t ticks_ = 0;
    int changes_ = 0;
};

// The world table the settings name, or null: no server set (then nothing
// touches the network), or one that is not an http or https address (said
// on log). playing: false while watching a recording, which has no world.
std::unique_ptr<DesktopWorld> makeDesktopWorld(const Settings& settings, bool playing,
                                               std::FILE* log);

}  // namespace kolvane
