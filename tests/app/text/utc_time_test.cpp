// Dates as the kept files write them.
#include "app/text/utc_time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kolvane {
namespace {

TEST(UtcTime, WritesAndReadsIso8601) {
    UtcText text;
    EXPECT_EQ(formatUtc(0, text), "1970-01-01T00:00:00Z");
    EXPECT_EQ(formatUtc(951782400, text), "2000-02-29T00:00:00Z");
    EXPECT_EQ(formatUtc(4102444799, text), "2099-12-31T23:59:59Z");
    EXPECT_EQ(formatUtc(-1, text), "1969-12-31T23:59:59Z");
    // The first and last seconds written; beyond them the date stays there.
    EXPECT_EQ(formatUtc(-62167219200, text), "0000-01-01T00:00:00Z");
    EXPECT_EQ(formatUtc(-62167219201, text), "0000-01-01T00:00:00Z");
    EXPECT_EQ(formatUtc(253402300800, text), "9999-12-31T23:59:59Z");
    for (const std::int64_t s :
         {std::int64_t{-62167219200}, std::int64_t{0}, std::int64_t{951782400},
          std::int64_t{1765000000}, std::int64_t{253402300799}}) {
        std::int64_t back = -1;
        ASSERT_TRUE(parseUtc(formatUtc(s, text), back));
        EXPECT_EQ(back, s);
    }
    std::int64_t s = 0;
    EXPECT_FALSE(parseUtc("2001-02-29T00:00:00Z", s));
    EXPECT_FALSE(parseUtc("2000-01-01T24:00:00Z", s));
    EXPECT_FALSE(parseUtc("2000-01-01 00:00:00Z", s));
    EXPECT_FALSE(parseUtc("2000-01-01T00:00:00", s));
}
}  // namespace
}  // namespace kolvane
