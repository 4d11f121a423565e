#pragma once
// Whole numbers as the programs read them: decimal digits only (no sign, no
// blank, no "0x"), and a value that fits the type.
#include <charconv>
#include <string_view>

namespace kolvane {

// Only the digits 0 to 9, at least one.
constexpr bool isDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The whole text as a number; false for anything else, or a value that
// doesn't fit T.
template <class T>
bool parseWhole(std::string_view text, T& value) {
    if (!isDigits(text)) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

// The number at the front of text in the form a program writes it (no
// leading zero but for 0 itself), moving text past it.
template <class T>
bool takeWhole(std::string_view& text, T& value) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
    if (n == 0 || (n > 1 && text[0] == '0') || !parseWhole(text.substr(0, n), value)) return false;
    text.remove_prefix(n);
    return true;
}

}  // namespace kolvane
