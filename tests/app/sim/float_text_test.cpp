#include "app/sim/float_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace kolvane::sim {
namespace {

std::string portable(float v) {
    char buf[64];
    return std::string(buf, formatShortestFloatPortable(buf, buf + sizeof buf, v));
}

#if defined(__cpp_lib_to_chars)
std::string library(float v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}
#endif

TEST(FloatText, TheTraceFormsOfEverydayValues) {
    EXPECT_EQ(portable(0.0f), "0");
    EXPECT_EQ(portable(-0.0f), "-0");
    EXPECT_EQ(portable(370.0f), "370");
    EXPECT_EQ(portable(0.5f), "0.5");
    EXPECT_EQ(portable(-0.18569534f), "-0.18569534");
    EXPECT_EQ(portable(0.2236068f), "0.2236068");
    EXPECT_EQ(portable(1e-5f), "1e-05");
    EXPECT_EQ(portable(1.5e-5f), "1.5e-05");
    EXPECT_EQ(portable(0.001f), "0.001");  // a tie: plain wins
    EXPECT_EQ(portable(0.0001f), "1e-04");
    EXPECT_EQ(portable(1e20f), "1e+20");
    EXPECT_EQ(portable(123456790.0f), "123456792");  // every digit of a whole number
    EXPECT_EQ(portable(-104091017216.0f), "-104091017216");
    EXPECT_EQ(portable(std::numeric_limits<float>::max()), "3.4028235e+38");
    EXPECT_EQ(portable(std::numeric_limits<float>::denorm_min()), "1e-45");
}

TEST(FloatText, TooSmallABufferWritesNothing) {
    char buf[3];
    EXPECT_EQ(formatShortestFloatPortable(buf, buf + sizeof buf, 0.25f), buf);
    EXPECT_EQ(formatShortestFloat(buf, buf + sizeof buf, 0.25f), buf);
}

TEST(FloatText, ReadsBackAsTheSameFloat) {
    std::mt19937 bits(12345);
    for (int i = 0; i < 200000; ++i) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits()));
        if (!std::isfinite(v)) continue;
        const std::string text = portable(v);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), v) << text;
    }
}

#if defined(__cpp_lib_to_chars)
// The node build of the runner writes its traces with the portable form, so
// it must be the library's text to the character.
TEST(FloatText, PortableFormIsStdToChars) {
    std::mt19937 bits(2024);
    int checked = 0;
    for (int i = 0; i < 1000000; ++i) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits()));
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(portable(v), library(v)) << std::bit_cast<std::uint32_t>(v);
        ++checked;
    }
    EXPECT_GT(checked, 990000);
}

TEST(FloatText, PortableFormIsStdToCharsOverTheGamesRange) {
    // Every float from 1/1024 to 1024 a few thousand apart in bit pattern,
    // the positions, speeds and headings a trace holds, both signs.
    for (std::uint32_t b = std::bit_cast<std::uint32_t>(1.0f / 1024.0f);
         b <= std::bit_cast<std::uint32_t>(1024.0f); b += 997) {
        const float v = std::bit_cast<float>(b);
        ASSERT_EQ(portable(v), library(v)) << v;
        ASSERT_EQ(portable(-v), library(-v)) << -v;
    }
    for (int i = -2000; i <= 2000; ++i) {
        const float v = static_cast<float>(i) / 8.0f;
        ASSERT_EQ(portable(v), library(v)) << v;
    }
}

TEST(FloatText, InfinitiesAndNanAsTheLibraryWritesThem) {
    EXPECT_EQ(portable(std::numeric_limits<float>::infinity()),
              library(std::numeric_limits<float>::infinity()));
    EXPECT_EQ(portable(-std::numeric_limits<float>::infinity()),
              library(-std::numeric_limits<float>::infinity()));
    EXPECT_EQ(portable(std::numeric_limits<float>::quiet_NaN()),
              library(std::numeric_limits<float>::quiet_NaN()));
}
#endif

}  // namespace
}  // namespace kolvane::sim
