#pragma once
// Floats as the shortest text that reads back as the same float, in the form
// std::to_chars gives without a format: plain or scientific notation,
// whichever is shorter (plain on a tie). Where the C++ library has no
// floating-point std::to_chars (emscripten's), the same text is found with
// printf and strtof, so a trace reads the same on every build.
#include <charconv>

namespace kolvane::sim {

// Writes the text into [first, last) and returns its end; returns first
// (writing nothing) when the text does not fit.
char* formatShortestFloat(char* first, char* last, float value);

// The printf-based form, kept callable everywhere so that it can be checked
// against std::to_chars where the library has one.
char* formatShortestFloatPortable(char* first, char* last, float value);

}  // namespace kolvane::sim
