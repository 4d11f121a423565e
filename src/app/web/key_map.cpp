#include "app/web/key_map.h"

#include <cstring>

#include "app/front_end/reserved_keys.h"
#include "core/keys.h"

namespace kolvane::web {

namespace {

struct NamedKey {
    const char* name;
    int virtualKey;
};

// Named keys, by the event's `key`; "Spacebar", "Esc", "OS" and the bare arrow
// names are what older browsers report.
constexpr NamedKey kNamedKeys[] = {
    {" ", vk::kSpace},     {"Spacebar", vk::kSpace}, {"Escape", vk::kEscape},
    {"Esc", vk::kEscape},  {"ArrowLeft", vk::kLeft}, {"Left", vk::kLeft},
    {"ArrowUp", vk::kUp},  {"Up", vk::kUp},          {"ArrowRight", vk::kRight},
    {"Right", vk::kRight}, {"ArrowDown", vk::kDown}, {"Down", vk::kDown},
    {"Enter", 0x0D},       {"Backspace", 0x08},      {"Tab", 0x09},
    {"Shift", 0x10},       {"Control", 0x11},        {"Alt", 0x12},
    {"AltGraph", 0x12},    {"Pause", 0x13},          {"CapsLock", 0x14},
    {"PageUp", 0x21},      {"PageDown", 0x22},       {"End", 0x23},
    {"Home", 0x24},        {"PrintScreen", 0x2C},    {"Insert", 0x2D},
    {"Delete", 0x2E},      {"Meta", 0x5B},           {"OS", 0x5B},
    {"ContextMenu", 0x5D}, {"NumLock", 0x90},        {"ScrollLock", 0x91},
};

// Keys by position, by the event's `code`: the number pad and the
// punctuation keys of a US keyboard, whatever character they make.
constexpr NamedKey kPositions[] = {
    {"Numpad0", 0x60},        {"Numpad1", 0x61},        {"Numpad2", 0x62},
    {"Numpad3", 0x63},        {"Numpad4", 0x64},        {"Numpad5", 0x65},
    {"Numpad6", 0x66},        {"Numpad7", 0x67},        {"Numpad8", 0x68},
    {"Numpad9", 0x69},        {"NumpadMultiply", 0x6A}, {"NumpadAdd", 0x6B},
    {"NumpadSubtract", 0x6D}, {"NumpadDecimal", 0x6E},  {"NumpadDivide", 0x6F},
    {"NumpadEnter", 0x0D},    {"Semicolon", 0xBA},      {"Equal", 0xBB},
    {"Comma", 0xBC},          {"Minus", 0xBD},          {"Period", 0xBE},
    {"Slash", 0xBF},          {"Backquote", 0xC0},      {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},      {"BracketRight", 0xDD},   {"Quote", 0xDE},
};

int find(const NamedKey* table, std::size_t size, const char* name) {
    for (std::size_t i = 0; i < size; ++i) {
        if (std::strcmp(name, table[i].name) == 0) return table[i].virtualKey;
    }
    return 0;
}

// A single Latin letter or digit: its virtual-key code (the upper-case
// character), else 0.
int fromCharacter(const char* text) {
    if (text[0] == '\0' || text[1] != '\0') return 0;
    const char c = text[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return 0;
}

// "F1" to "F12"; F13 and above have no code of their own.
int fromFunctionKey(const char* key) {
    if (key[0] != 'F' || key[1] < '1' || key[1] > '9') return 0;
    int n = key[1] - '0';
    if (key[2] != '\0') {
        if (key[2] < '0' || key[2] > '9' || key[3] != '\0') return 0;
        n = n * 10 + (key[2] - '0');
    }
    return n <= 12 ? 0x70 + n - 1 : kNeutralKey;
}

// "KeyS" and "Digit5": the position of a letter or digit key.
int fromCode(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0) return fromCharacter(code + 3);
    if (std::strncmp(code, "Digit", 5) == 0) return fromCharacter(code + 5);
    return find(kPositions, std::size(kPositions), code);
}

// A punctuation character: the code of the US key that makes it, shifted or not.
int fromPunctuation(const char* key) {
    if (key[0] == '\0' || key[1] != '\0') return 0;
    constexpr const char* kPlain = ";=,-./`[\\]'";
    constexpr const char* kShifted = ":+<_>?~{|}\"";
    constexpr int kCodes[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
    for (std::size_t i = 0; i < std::size(kCodes); ++i) {
        if (key[0] == kPlain[i] || key[0] == kShifted[i]) return kCodes[i];
    }
    return 0;
}

}  // namespace

int virtualKeyFromEvent(const char* key, const char* code) {
    if (key == nullptr) key = "";
    if (code == nullptr) code = "";
    if (const int named = find(kNamedKeys, std::size(kNamedKeys), key); named != 0) return named;
    if (const int letter = fromCharacter(key); letter != 0) return letter;
    if (const int function = fromFunctionKey(key); function != 0) return function;
    // A digit key, shifted or on a layout whose digits are shifted.
    if (std::strncmp(code, "Digit", 5) == 0) return fromCode(code);
    // A character of another script or a dead key: where the key is.
    if (static_cast<unsigned char>(key[0]) >= 0x80 || std::strcmp(key, "Dead") == 0) {
        if (const int position = fromCode(code); position != 0) return position;
    }
    if (const int punctuation = fromPunctuation(key); punctuation != 0) return punctuation;
    if (const int position = find(kPositions, std::size(kPositions), code); position != 0) {
        return position;
    }
    return kNeutralKey;
}

bool movesThePage(int virtualKey) {
    switch (virtualKey) {
        case vk::kSpace:
        case vk::kLeft:
        case vk::kUp:
        case vk::kRight:
        case vk::kDown:
        case 0x08:  // Backspace
        case 0x09:  // Tab
        case 0x21:  // Page Up
        case 0x22:  // Page Down
        case 0x23:  // End
        case 0x24:  // Home
            return true;
        default:
            return false;
    }
}

}  // namespace kolvane::web
