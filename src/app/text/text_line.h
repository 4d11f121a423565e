#pragma once
// Lines of the text files the programs read (scripts and recordings, the
// settings, the high-score table): UTF-8 with no control character but the
// tab, each at most a given length. Anything else is refused with a reason.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// What is wrong with one line (its end already cut off), or nothing:
// "line too long (N bytes, at most M)", "NUL byte at column C",
// "control character 0xNN at column C", "invalid UTF-8 (byte 0xNN) at column C".
std::optional<std::string> textLineProblem(std::string_view line, std::size_t maxLength);

// The first line of `text`, without its '\n' and a '\r' before it; `text`
// moves past it. Call while `text` is not empty.
std::string_view takeLine(std::string_view& text);

}  // namespace kolvane
