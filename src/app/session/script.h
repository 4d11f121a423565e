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

struct Command {
    CommandKind kind = CommandKind::kTick;
    int line = 0;            // 1-based line in the script
    std::int32_t count = 1;  // tick: how many
    int key = 0;             // down, repeat, up, press: the virtual-key code
    std::string file;        // shot: the PNG to write
};

// Commands made in code rather than read from a line.
inline Command tickCommand(std::int32_t count = 1) {
    return Command{CommandKind::kTick, 0, count, 0, {}};
}
inline Command keyCommand(CommandKind kind, int key) {
    return Command{kind, 0, 1, key, {}};
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
};

struct Script {
    ScriptSettings settings;
    std::vector<Command> commands;
};

// The largest side of a client area, in pixels.
inline constexpr std::int32_t kMaxClientSide = 4096;

// The largest count one tick command takes.
inline constexpr std::int32_t kMaxTickCount = 1000000;

// The longest line a script may have, in bytes (line end not counted).
inline constexpr std::size_t kMaxLineLength = 1024;

// The largest script read, in bytes.
inline constexpr std::size_t kMaxScriptSize = std::size_t{32} << 20;

// The name error messages give a script read from standard input.
inline constexpr std::string_view kStdinName = "<stdin>";

// Parses the whole text: UTF-8 lines (LF or CR LF ends, a leading byte-order
// mark skipped) without control characters other than tabs. Settings lines
// come before the first command, each at most once. On a mistake
// returns false with error set to "NAME:LINE: what is wrong" (the first
// mistake only) and no commands.
bool parseScript(std::string_view text, std::string_view name, Script& script, std::string& error);

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
