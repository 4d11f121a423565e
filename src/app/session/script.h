#pragma once
// The replay script: one command a line, read and checked as a whole before
// anything runs, so that a mistake on the last line costs nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum class CommandKind : std::uint8_t { kTick, kDown, kRepeat, kUp, kPress, kShot };

// One command, eight bytes: a recording of a day's play holds millions.
// Consecutive tick lines are read as one run, so a script holds at most two
// commands a key event.
struct Command {
    CommandKind kind = CommandKind::kTick;
    std::uint8_t key = 0;    // down, repeat, up, press: the virtual-key code
    std::int32_t count = 1;  // tick: how many; shot: its place in Script::shots
};

// A `shot FILE` line: a plain file name ending in .png, written into the
// runner's output folder.
struct Shot {
    int line = 0;  // 1-based line in the script
    std::string file;
};

// Commands made in code rather than read from a line.
inline Command tickCommand(std::int32_t count = 1) {
    return Command{CommandKind::kTick, 0, count};
}
inline Command keyCommand(CommandKind kind, int key) {
    return Command{kind, static_cast<std::uint8_t>(key), 1};
}

// What a run starts from, when the script says so on its leading settings
// lines (`clock SECONDS`, `seed N`, `size WIDTHxHEIGHT`, before any command);
// a recording names all three, so it replays without options.
struct ClientSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ClientSize&, const ClientSize&) = default;
};

struct ScriptSettings {
    std::optional<std::int32_t> clock;
    std::optional<std::uint32_t> seed;
    std::optional<ClientSize> size;
    // `ticket TOKEN`: what a leaderboard server handed out for this session.
    // Not part of the game's start: a run ignores it.
    std::optional<std::string> ticket;
};

struct Script {
    ScriptSettings settings;
    std::vector<Command> commands;
    std::vector<Shot> shots;
};

// What a script may cost, checked while it is read, before any tick runs: its
// size in bytes, its ticks in all, its key events (down, repeat, up, press)
// in all. Within them the whole script is held in about eight bytes a key
// event and replays in a time bounded by maxTicks.
struct ScriptLimits {
    std::size_t maxBytes;
    std::int64_t maxTicks;
    std::int64_t maxKeyEvents;
};

// The ticks of 24 hours of play, at 15 ms a tick.
inline constexpr std::int64_t kTicksPerDay = std::int64_t{24} * 60 * 60 * 1000 / 15;

// What kolvane-sim and the windows' --replay take: 8 MiB, 24 hours of play,
// a million key events (a day of play with a key every 86 ms; steady play
// records about 5 MB and 400,000 key events a day). Within them verification
// needs under 100 MB, the frame of a 4096 x 4096 field (64 MB) included:
// docs/reliability.md.
inline constexpr ScriptLimits kReplayLimits{std::size_t{8} << 20, kTicksPerDay, 1000000};

// The most `shot` lines a script may have.
inline constexpr std::size_t kMaxShots = 10000;

// The longest ticket a settings line takes.
inline constexpr std::size_t kMaxTicketLength = 200;

// The largest side of a client area, in pixels.
inline constexpr std::int32_t kMaxClientSide = 4096;

// The largest count one tick command takes.
inline constexpr std::int32_t kMaxTickCount = 1000000;

// The longest line a script may have, in bytes (line end not counted).
inline constexpr std::size_t kMaxLineLength = 1024;

// The largest script read, in bytes.
inline constexpr std::size_t kMaxScriptSize = kReplayLimits.maxBytes;

// The name error messages give a script read from standard input.
inline constexpr std::string_view kStdinName = "<stdin>";

// Parses the whole text: UTF-8 lines (LF or CR LF ends, a leading byte-order
// mark skipped) without control characters other than tabs. Settings lines
// come before the first command, each at most once. A text beyond the
// limits is refused as soon as the line that passes them is read. On a
// mistake returns false with error set to "NAME:LINE: what is wrong" (or
// "NAME: script too large ..."; the first mistake only) and no commands.
bool parseScript(std::string_view text, std::string_view name, const ScriptLimits& limits,
                 Script& script, std::string& error);
// The same within kReplayLimits.
bool parseScript(std::string_view text, std::string_view name, Script& script, std::string& error);

// What a `shot` line takes: a plain file name (no folder, no "..", no
// character Windows forbids, no device name such as NUL) ending in ".png".
bool isPlainPngName(std::string_view name);

// 1 to kMaxTicketLength characters of A-Z a-z 0-9 . _ -
bool isTicket(std::string_view token);

// SPACE, X, S, P, ESCAPE, LEFT, RIGHT, UP, DOWN, A-Z, 0-9 (any case) or 0xNN.
std::optional<int> parseKey(std::string_view word);

// The name a script gives a key: SPACE, X, S, P, ESCAPE, LEFT, RIGHT, UP,
// DOWN, a letter or digit, or 0xNN for any other code (0 to 255).
std::string_view keyName(int key, std::array<char, 4>& buffer);

// The values of the settings lines (and of the runner's options): whole
// seconds 0 to 2147483647; a state 0 to 4294967295; WIDTHxHEIGHT, each side
// 0 to kMaxClientSide. False for anything else.
bool parseClockSeconds(std::string_view text, std::int32_t& seconds);
bool parseSeed(std::string_view text, std::uint32_t& seed);
bool parseClientSize(std::string_view text, ClientSize& size);

}  // namespace kolvane
