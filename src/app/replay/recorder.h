#pragma once
// Records a session as it is played: a listener that appends the recording's
// lines (see recording.h) to text in memory and never touches a file, so that
// a front end stores the text where it keeps files, outside the tick (the
// desktop windows: recording_file.h; the web page: its own storage).
//
// Key-downs are written as `down`/`repeat KEY`, releases as `up KEY`, the
// ticks between them as runs (`tick 240`), in the order the game saw them.
// What changes nothing in the game is left out, which keeps a recording small
// (under 100 KB for half an hour of steady play: docs/performance.md):
// - an auto-repeat of a key already held while the game is not paused:
//   repeats fire, start and pause nothing (Escape's quit, and are kept), and
//   a held arrow repeats 25 times a second;
// - the release of any key but the arrows, whose holding is all the game
//   reads of held keys: such a key's down is written `press KEY` (a key-down
//   that leaves the key up), since its release never reaches the game;
// - the release of a key not held.
//
// The text is reserved up front: in play the recorder allocates only when a
// session outgrows it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/replay/game_tracker.h"
#include "app/replay/recording.h"
#include "app/session/held_keys.h"
#include "app/session/session.h"

namespace kolvane {

// A game that ended, and the tick it started at.
struct FinishedGame {
    GameResult result;
    std::int64_t startTick = 0;
};

class Recorder final : public SessionListener {
public:
    static constexpr std::size_t kReservedBytes = std::size_t{256} << 10;
    static constexpr std::size_t kReservedGames = 256;
    // Room for "tick 1000000\n" and more.
    using TickLine = std::array<char, 24>;

    // version: the program's; frontEnd: "SDL window on Linux"; recordedAt: the
    // wall clock's seconds since 1970 when the session started; ticket: what
    // a leaderboard handed out for the session (isTicket), or empty.
    Recorder(std::string_view version, std::string_view frontEnd, std::int64_t recordedAt,
             std::string_view ticket = {});

    // The ticket, when it comes after the recorder was made: before the
    // session starts, which writes the header.
    void setTicket(std::string_view ticket) { ticket_ = ticket; }

    void started(const Session& session) override;
    void keyDown(const Session& session, KeyEvent key) override;
    void keyUp(const Session& session, int key) override;
    void ticked(const Session& session) override;

    // The recording so far is text() followed by pendingTicks(): the ticks
    // since the last line, not yet written as a line of their own.
    std::string_view text() const { return text_; }
    std::string_view pendingTicks(TickLine& buffer) const;
    // Both at once (allocates).
    std::string wholeText() const;

    // Every game of the session that ended, in order.
    const std::vector<FinishedGame>& finishedGames() const { return finished_; }

private:
    // The keys whose holding the game reads (once a tick, during a game).
    static bool isReadWhileHeld(int key);
    void writePendingTicks();
    void writeKey(std::string_view command, int key);

    std::string version_;
    std::string frontEnd_;
    std::int64_t recordedAt_;
    std::string ticket_;
    std::string text_;
    std::int64_t pendingTicks_ = 0;
    HeldKeys held_;
    bool paused_ = false;
    GameTracker tracker_;
    std::vector<FinishedGame> finished_;
};

}  // namespace kolvane
