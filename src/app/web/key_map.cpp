#include "app/web/key_map.h"

#include <cstring>

#include "core/keys.h"

namespace kolvane::web {

namespace {

constexpr int kBackspace = 0x08;
constexpr int kEnter = 0x0D;

struct NamedKey {
    const char* name;
    int virtualKey;
};

// Named keys, by the event's `key`; "Spacebar", "Esc" and the bare arrow
// names are what older browsers report.
constexpr NamedKey kNamedKeys[] = {
    {" ", vk::kSpace},     {"Spacebar", vk::kSpace},  {"Escape", vk::kEscape},
    {"Esc", vk::kEscape},  {"ArrowLeft", vk::kLeft},  {"Left", vk::kLeft},
    {"ArrowUp", vk::kUp},  {"Up", vk::kUp},           {"ArrowRight", vk::kRight},
    {"Right", vk::kRight}, {"ArrowDown", vk::kDown},  {"Down", vk::kDown},
    {"Enter", kEnter},     {"Backspace", kBackspace},
};

// A single Latin letter or digit: its virtual-key code (the upper-case
// character), else 0.
int fromCharacter(const char* text) {
    if (text[0] == '\0' || text[1] != '\0') return 0;
    const char c = text[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return 0;
}

// "KeyS" and "Digit5": the position of a letter or digit key.
int fromCode(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0) return fromCharacter(code + 3);
    if (std::strncmp(code, "Digit", 5) == 0) return fromCharacter(code + 5);
    return 0;
}

}  // namespace

int virtualKeyFromEvent(const char* key, const char* code) {
    if (key == nullptr) key = "";
    if (code == nullptr) code = "";
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(key, named.name) == 0) return named.virtualKey;
    }
    if (const int letter = fromCharacter(key); letter != 0) return letter;
    // A character of another script (or a dead key) on a letter or digit key.
    if (key[0] != '\0' &&
        (static_cast<unsigned char>(key[0]) >= 0x80 || std::strcmp(key, "Dead") == 0)) {
        return fromCode(code);
    }
    return 0;
}

}  // namespace kolvane::web
