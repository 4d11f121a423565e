#pragma once
// Dates as the kept files write them: UTC, ISO 8601, from whole seconds since
// 1970, computed here rather than by the C library so that every platform
// (and every time zone) writes the same text.
#include <array>
#include <cstdint>
#include <string_view>

namespace kolvane {

struct UtcTime {
    std::int64_t year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

UtcTime utcTime(std::int64_t secondsSince1970);

// "2026-12-08T20:22:05Z" (years 0 to 9999; others are clamped to that range).
using UtcText = std::array<char, 20>;
std::string_view formatUtc(std::int64_t secondsSince1970, UtcText& buffer);

// Reads exactly the form formatUtc writes; false for anything else.
bool parseUtc(std::string_view text, std::int64_t& secondsSince1970);

}  // namespace kolvane
