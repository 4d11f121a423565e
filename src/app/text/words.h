#pragma once
// Words of a line as the programs' text files write them: separated by
// spaces and tabs (and by nothing else: a no-break space is part of a word).
#include <array>
#include <cstddef>
#include <string_view>

namespace kolvane {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text without the blanks at either end.
std::string_view trimBlanks(std::string_view text);

// The same letters, A-Z and a-z alike.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// Up to N words of the line, in order. Returns how many, or N + 1 when there
// are more (the first N are then set).
template <std::size_t N>
int splitWords(std::string_view line, std::array<std::string_view, N>& words) {
    int n = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (n == static_cast<int>(N)) return n + 1;
        words[static_cast<std::size_t>(n++)] = line.substr(start, i - start);
    }
    return n;
}

}  // namespace kolvane
