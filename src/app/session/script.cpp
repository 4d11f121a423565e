#include "app/session/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <limits>

#include "app/text/text_line.h"
#include "core/keys.h"

namespace kolvane {

namespace {

struct NamedKey {
    std::string_view name;
    int code;
};

constexpr std::array<NamedKey, 9> kNamedKeys{{
    {"SPACE", vk::kSpace},
    {"X", vk::kX},
    {"S", vk::kS},
    {"P", vk::kP},
    {"ESCAPE", vk::kEscape},
    {"LEFT", vk::kLeft},
    {"RIGHT", vk::kRight},
    {"UP", vk::kUp},
    {"DOWN", vk::kDown},
}};

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = upper(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Up to kMaxWords words of one line, comment removed. Returns the word count,
// or kMaxWords + 1 when there are more.
constexpr int kMaxWords = 3;
int splitWords(std::string_view line, std::array<std::string_view, kMaxWords>& words) {
    if (const auto hash = line.find('#'); hash != std::string_view::npos) {
        line = line.substr(0, hash);
    }
    int n = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (n == kMaxWords) return kMaxWords + 1;
        words[n++] = line.substr(start, i - start);
    }
    return n;
}

struct CommandName {
    std::string_view name;
    CommandKind kind;
};

constexpr std::array<CommandName, 6> kCommands{{
    {"tick", CommandKind::kTick},
    {"down", CommandKind::kDown},
    {"repeat", CommandKind::kRepeat},
    {"up", CommandKind::kUp},
    {"press", CommandKind::kPress},
    {"shot", CommandKind::kShot},
}};

// Checks one line's words; on a mistake returns its description. A shot's
// file name goes to `file`.
std::optional<std::string> parseCommand(const std::array<std::string_view, kMaxWords>& words,
                                        int count, Command& command, std::string_view& file) {
    const CommandName* known = nullptr;
    for (const CommandName& s : kCommands) {
        if (sameIgnoringCase(words[0], s.name)) known = &s;
    }
    if (known == nullptr) return "unknown command \"" + std::string(words[0]) + "\"";
    const std::string name(known->name);
    command.kind = known->kind;

    if (known->kind == CommandKind::kTick) {
        if (count > 2) return name + ": too many arguments (expected at most a count)";
        if (count == 1) {
            command.count = 1;
            return std::nullopt;
        }
        const std::string_view n = words[1];
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), value);
        const bool digitsOnly = !n.empty() && n[0] >= '0' && n[0] <= '9';
        const bool tooLarge = ec == std::errc::result_out_of_range;
        if (!digitsOnly || (ec != std::errc{} && !tooLarge) || end != n.data() + n.size()) {
            return name + ": bad count \"" + std::string(n) + "\" (expected a whole number)";
        }
        if (tooLarge || value < 1 || value > kMaxTickCount) {
            return name + ": count " + std::string(n) + " out of range (1 to " +
                   std::to_string(kMaxTickCount) + ")";
        }
        command.count = static_cast<std::int32_t>(value);
        return std::nullopt;
    }

    if (count < 2) {
        return name + (known->kind == CommandKind::kShot ? ": missing file name" : ": missing key");
    }
    if (count > 2) return name + ": too many arguments (expected one)";
    if (known->kind == CommandKind::kShot) {
        if (!isPlainPngName(words[1])) {
            return name + ": bad file name \"" + std::string(words[1]) +
                   "\" (expected a plain name ending in .png, without a folder)";
        }
        file = words[1];
        return std::nullopt;
    }
    const std::optional<int> key = parseKey(words[1]);
    if (!key) return name + ": bad key \"" + std::string(words[1]) + "\"";
    command.key = static_cast<std::uint8_t>(*key);
    return std::nullopt;
}

template <class T>
bool parseWhole(std::string_view text, T& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

enum class SettingKind : std::uint8_t { kClock, kSeed, kSize, kTicket };

struct SettingName {
    std::string_view name;
    SettingKind kind;
};

constexpr std::array<SettingName, 4> kSettings{{
    {"clock", SettingKind::kClock},
    {"seed", SettingKind::kSeed},
    {"size", SettingKind::kSize},
    {"ticket", SettingKind::kTicket},
}};

const SettingName* findSetting(std::string_view word) {
    for (const SettingName& s : kSettings) {
        if (sameIgnoringCase(word, s.name)) return &s;
    }
    return nullptr;
}

// Checks one settings line; on a mistake returns its description.
std::optional<std::string> parseSetting(const SettingName& setting,
                                        const std::array<std::string_view, kMaxWords>& words,
                                        int count, bool afterCommands, ScriptSettings& settings) {
    const std::string name(setting.name);
    if (afterCommands) return name + ": a settings line must come before the first command";
    if (count < 2) return name + ": missing value";
    if (count > 2) return name + ": too many arguments (expected one)";
    const std::string_view value = words[1];
    const auto bad = [&](const char* expected) {
        return name + ": bad value \"" + std::string(value) + "\" (expected " + expected + ")";
    };
    const auto twice = [&] { return name + ": given twice"; };
    switch (setting.kind) {
        case SettingKind::kClock: {
            if (settings.clock) return twice();
            std::int32_t seconds = 0;
            if (!parseClockSeconds(value, seconds)) return bad("whole seconds, 0 to 2147483647");
            settings.clock = seconds;
            break;
        }
        case SettingKind::kSeed: {
            if (settings.seed) return twice();
            std::uint32_t seed = 0;
            if (!parseSeed(value, seed)) return bad("0 to 4294967295");
            settings.seed = seed;
            break;
        }
        case SettingKind::kSize: {
            if (settings.size) return twice();
            ClientSize size;
            if (!parseClientSize(value, size)) return bad("WIDTHxHEIGHT, 0 to 4096 each");
            settings.size = size;
            break;
        }
        case SettingKind::kTicket:
            if (settings.ticket) return twice();
            if (!isTicket(value)) return bad("1 to 200 of A-Z a-z 0-9 . _ -");
            settings.ticket = std::string(value);
            break;
    }
    return std::nullopt;
}

bool isTicketCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// Names Windows gives to devices, with any extension: "NUL.png" is no file.
bool isDeviceName(std::string_view stem) {
    constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    for (const std::string_view device : kDevices) {
        if (sameIgnoringCase(stem, device)) return true;
    }
    const bool numbered = stem.size() == 4 && stem[3] >= '0' && stem[3] <= '9';
    return numbered && (sameIgnoringCase(stem.substr(0, 3), "COM") ||
                        sameIgnoringCase(stem.substr(0, 3), "LPT"));
}

// The most ticks one merged run holds.
constexpr std::int32_t kLongestRun = std::numeric_limits<std::int32_t>::max();

// The most bytes of a shot's file name (most file systems take 255).
constexpr std::size_t kMaxShotName = 255;

}  // namespace

bool isPlainPngName(std::string_view name) {
    constexpr std::string_view kPng = ".png";
    if (name.size() <= kPng.size() || name.size() > kMaxShotName || name[0] == '.' ||
        name.substr(name.size() - kPng.size()) != kPng) {
        return false;
    }
    // No folder, no drive, nothing a Windows name can't hold.
    if (name.find_first_of("/\\:*?\"<>|") != std::string_view::npos) return false;
    if (name.find("..") != std::string_view::npos) return false;
    return !isDeviceName(name.substr(0, name.find('.')));
}

bool isTicket(std::string_view token) {
    if (token.empty() || token.size() > kMaxTicketLength) return false;
    for (const char c : token) {
        if (!isTicketCharacter(c)) return false;
    }
    return true;
}

bool parseClockSeconds(std::string_view text, std::int32_t& seconds) {
    return parseWhole(text, seconds);
}

bool parseSeed(std::string_view text, std::uint32_t& seed) {
    return parseWhole(text, seed);
}

bool parseClientSize(std::string_view text, ClientSize& size) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    ClientSize s;
    if (!parseWhole(text.substr(0, x), s.width) || !parseWhole(text.substr(x + 1), s.height)) {
        return false;
    }
    if (s.width > kMaxClientSide || s.height > kMaxClientSide) return false;
    size = s;
    return true;
}

std::string_view keyName(int key, std::array<char, 4>& buffer) {
    for (const NamedKey& k : kNamedKeys) {
        if (k.code == key) return k.name;
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        buffer[0] = static_cast<char>(key);
        return std::string_view(buffer.data(), 1);
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    buffer = {'0', 'x', kHex[(key >> 4) & 0xF], kHex[key & 0xF]};
    return std::string_view(buffer.data(), buffer.size());
}

std::optional<int> parseKey(std::string_view word) {
    for (const NamedKey& k : kNamedKeys) {
        if (sameIgnoringCase(word, k.name)) return k.code;
    }
    if (word.size() == 1) {
        const char c = upper(word[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;  // the codes are ASCII
        return std::nullopt;
    }
    if (word.size() == 4 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        const int hi = hexDigit(word[2]);
        const int lo = hexDigit(word[3]);
        if (hi >= 0 && lo >= 0) return hi * 16 + lo;
    }
    return std::nullopt;
}

bool parseScript(std::string_view text, std::string_view name, Script& script, std::string& error) {
    return parseScript(text, name, kReplayLimits, script, error);
}

bool parseScript(std::string_view text, std::string_view name, const ScriptLimits& limits,
                 Script& script, std::string& error) {
    script = Script{};
    if (text.size() > limits.maxBytes) {
        error = std::string(name) + ": script too large (more than " +
                std::to_string(limits.maxBytes) + " bytes)";
        return false;
    }
    // Every command line has at least five bytes ("tick\n", "up 1\n") and
    // tick runs merge, so this bounds the commands; the pages reserved and
    // never reached cost no memory.
    const auto mostCommands = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(text.size() / 5 + 1),
                               2 * limits.maxKeyEvents + static_cast<std::int64_t>(kMaxShots) + 1));
    script.commands.reserve(mostCommands);
    // A byte-order mark some editors put first is not part of the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::int64_t ticks = 0;
    std::int64_t keyEvents = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::string_view line = takeLine(text);
        ++lineNumber;

        const auto fail = [&](const std::string& what) {
            error = std::string(name) + ":" + std::to_string(lineNumber) + ": " + what;
            script = Script{};
            return false;
        };
        if (const std::optional<std::string> what = textLineProblem(line, kMaxLineLength)) {
            return fail(*what);
        }
        std::array<std::string_view, kMaxWords> words{};
        const int count = splitWords(line, words);
        if (count == 0) continue;
        if (const SettingName* setting = findSetting(words[0])) {
            if (const std::optional<std::string> what = parseSetting(
                    *setting, words, count, !script.commands.empty(), script.settings)) {
                return fail(*what);
            }
            continue;
        }
        Command command;
        std::string_view file;
        // A count above kMaxWords is reported as too many arguments.
        if (const std::optional<std::string> what = parseCommand(words, count, command, file)) {
            return fail(*what);
        }
        switch (command.kind) {
            case CommandKind::kTick:
                ticks += command.count;
                if (ticks > limits.maxTicks) {
                    return fail("more than " + std::to_string(limits.maxTicks) + " ticks in all");
                }
                if (!script.commands.empty() && script.commands.back().kind == CommandKind::kTick &&
                    script.commands.back().count <= kLongestRun - command.count) {
                    script.commands.back().count += command.count;
                    continue;
                }
                break;
            case CommandKind::kShot:
                if (script.shots.size() == kMaxShots) {
                    return fail("more than " + std::to_string(kMaxShots) + " shots");
                }
                command.count = static_cast<std::int32_t>(script.shots.size());
                script.shots.push_back(Shot{lineNumber, std::string(file)});
                break;
            default:
                if (++keyEvents > limits.maxKeyEvents) {
                    return fail("more than " + std::to_string(limits.maxKeyEvents) +
                                " key events in all");
                }
                break;
        }
        script.commands.push_back(command);
    }
    return true;
}

}  // namespace kolvane
