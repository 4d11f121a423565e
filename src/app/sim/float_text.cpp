#include "app/sim/float_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kolvane::sim {

namespace {

// Nine significant digits always read back as the same float.
constexpr int kMaxDigits = 9;

// Text built up in a fixed buffer: longer than any float's shortest form.
class Text {
public:
    void add(char c) { chars_[size_++] = c; }
    void add(std::string_view s) {
        std::copy(s.begin(), s.end(), chars_.begin() + static_cast<std::ptrdiff_t>(size_));
        size_ += s.size();
    }
    void zeros(int count) {
        for (int i = 0; i < count; ++i) add('0');
    }
    // Copies the text into [first, last); first when it does not fit.
    char* copyTo(char* first, char* last) const {
        if (static_cast<std::size_t>(last - first) < size_) return first;
        return std::copy_n(chars_.begin(), size_, first);
    }

private:
    std::array<char, 64> chars_{};
    std::size_t size_ = 0;
};

}  // namespace

char* formatShortestFloatPortable(char* first, char* last, float value) {
    Text text;
    if (std::signbit(value)) text.add('-');
    if (std::isnan(value)) {
        text.add("nan");
        return text.copyTo(first, last);
    }
    if (std::isinf(value)) {
        text.add("inf");
        return text.copyTo(first, last);
    }
    const double magnitude = std::fabs(static_cast<double>(value));
    if (magnitude == 0.0) {
        text.add('0');
        return text.copyTo(first, last);
    }

    // The fewest significant digits that read back as the same float: printf
    // rounds correctly, so the nearest such decimal is the one it writes.
    std::array<char, 32> scientific{};
    for (int digits = 1; digits <= kMaxDigits; ++digits) {
        std::snprintf(scientific.data(), scientific.size(), "%.*e", digits - 1, magnitude);
        if (static_cast<double>(std::strtof(scientific.data(), nullptr)) == magnitude) break;
    }
    // D[.DDD]e(+|-)XX: the digits without the point, and the exponent.
    const std::string_view written(scientific.data());
    const std::size_t e = written.find('e');
    std::array<char, kMaxDigits> digitChars{};
    int count = 0;
    for (std::size_t i = 0; i < e; ++i) {
        if (written[i] != '.') digitChars[static_cast<std::size_t>(count++)] = written[i];
    }
    const std::string_view digits(digitChars.data(), static_cast<std::size_t>(count));
    const std::string_view exponentText = written.substr(e);  // "e+XX"
    const int exponent = static_cast<int>(std::strtol(exponentText.data() + 1, nullptr, 10));

    // Plain or scientific notation, whichever is shorter; plain on a tie.
    int plainSize = 0;
    if (exponent >= count - 1) {
        plainSize = exponent + 1;
    } else if (exponent >= 0) {
        plainSize = count + 1;
    } else {
        plainSize = count + 1 - exponent;
    }
    const int scientificSize = count + (count > 1 ? 1 : 0) + static_cast<int>(exponentText.size());

    if (scientificSize < plainSize) {
        text.add(digits[0]);
        if (count > 1) {
            text.add('.');
            text.add(digits.substr(1));
        }
        text.add(exponentText);
    } else if (exponent >= count - 1) {
        // A whole number is written with all its digits, as the library does
        // (below 10^14 here, so a double holds it exactly).
        std::array<char, 32> whole{};
        std::snprintf(whole.data(), whole.size(), "%.0f", magnitude);
        text.add(std::string_view(whole.data()));
    } else if (exponent >= 0) {
        const auto point = static_cast<std::size_t>(exponent) + 1;
        text.add(digits.substr(0, point));
        text.add('.');
        text.add(digits.substr(point));
    } else {
        text.add("0.");
        text.zeros(-exponent - 1);
        text.add(digits);
    }
    return text.copyTo(first, last);
}

char* formatShortestFloat(char* first, char* last, float value) {
#if defined(__cpp_lib_to_chars)
    const std::to_chars_result result = std::to_chars(first, last, value);
    return result.ec == std::errc{} ? result.ptr : first;
#else
    return formatShortestFloatPortable(first, last, value);
#endif
}

}  // namespace kolvane::sim
