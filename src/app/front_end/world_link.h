#pragma once
// The world table's network side, for a front end that has one: the desktop
// windows over their network worker (desktop_world.h). WorldPlaying
// (world_playing.h) decides what is asked and when; the link does it in the
// background and never waits, but for the ticket before the session starts,
// for a short time.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/front_end/session_ticket.h"
#include "app/scores/score_table.h"
#include "app/scores/world_overlay.h"

namespace kolvane {

class WorldLink {
public:
    // The ticket the session starts from, waited for a short time at most;
    // nothing without one (no answer in time, offline, the server down).
    virtual std::optional<SessionTicket> awaitTicket() = 0;
    // After the first frame: what earlier runs left is sent, the world's top
    // ten and the games it verified are fetched.
    virtual void open() = 0;
    // A finished game's recording (the session's so far, named for its
    // file), to be sent in the background.
    virtual void submit(const std::string& name, std::string recording) = 0;
    // After each tick (ticks: the session's count): the answers taken, the
    // verdicts of what was sent asked for when due.
    virtual void afterTick(std::int64_t ticks) = 0;
    // The session ends: what is still to send waits for a later start.
    virtual void finish() = 0;

    // Whether the world table verified this game of the local table.
    virtual bool verified(const ScoreEntry& entry) const = 0;
    // The world's top ten; null before the server answered.
    virtual const std::vector<WorldRow>* topTen() const = 0;
    // Counts the changes of either, for whatever shows them.
    virtual int changes() const = 0;

protected:
    ~WorldLink() = default;
};

}  // namespace kolvane
