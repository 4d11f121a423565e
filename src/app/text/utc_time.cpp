#include "app/text/utc_time.h"

#include <algorithm>
#include <chrono>

namespace kolvane {

namespace {

namespace chrono = std::chrono;
using Seconds = chrono::duration<std::int64_t>;

// Seconds of 0000-01-01T00:00:00Z and of 9999-12-31T23:59:59Z.
constexpr std::int64_t kFirstSecond = -62167219200;
constexpr std::int64_t kLastSecond = 253402300799;
constexpr std::int64_t kSecondsPerDay = 86400;

void putDigits(char* out, std::int64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

bool readDigits(std::string_view text, std::size_t at, int width, int& value) {
    value = 0;
    for (int i = 0; i < width; ++i) {
        const char c = text[at + static_cast<std::size_t>(i)];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace

UtcTime utcTime(std::int64_t seconds) {
    const chrono::sys_time<Seconds> moment{Seconds{std::clamp(seconds, kFirstSecond, kLastSecond)}};
    const chrono::sys_days day = chrono::floor<chrono::days>(moment);
    const chrono::year_month_day date{day};
    const chrono::hh_mm_ss<Seconds> time{moment - day};
    UtcTime t;
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.hour = static_cast<int>(time.hours().count());
    t.minute = static_cast<int>(time.minutes().count());
    t.second = static_cast<int>(time.seconds().count());
    return t;
}

std::string_view formatUtc(std::int64_t seconds, UtcText& buffer) {
    const UtcTime t = utcTime(seconds);
    char* out = buffer.data();
    putDigits(out, t.year, 4);
    out[4] = '-';
    putDigits(out + 5, t.month, 2);
    out[7] = '-';
    putDigits(out + 8, t.day, 2);
    out[10] = 'T';
    putDigits(out + 11, t.hour, 2);
    out[13] = ':';
    putDigits(out + 14, t.minute, 2);
    out[16] = ':';
    putDigits(out + 17, t.second, 2);
    out[19] = 'Z';
    return std::string_view(buffer.data(), buffer.size());
}

bool parseUtc(std::string_view text, std::int64_t& seconds) {
    if (text.size() != UtcText{}.size() || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return false;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!readDigits(text, 0, 4, year) || !readDigits(text, 5, 2, month) ||
        !readDigits(text, 8, 2, day) || !readDigits(text, 11, 2, hour) ||
        !readDigits(text, 14, 2, minute) || !readDigits(text, 17, 2, second)) {
        return false;
    }
    const chrono::year_month_day date{chrono::year{year},
                                      chrono::month{static_cast<unsigned>(month)},
                                      chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) return false;
    const std::int64_t days = chrono::sys_days{date}.time_since_epoch().count();
    seconds =
        days * kSecondsPerDay + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
    return true;
}

}  // namespace kolvane
