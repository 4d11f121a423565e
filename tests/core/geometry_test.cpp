#include "core/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace kolvane {
namespace {

TEST(Truncate, TowardZeroAndSaturating) {
    EXPECT_EQ(truncate(2.9), 2);
    EXPECT_EQ(truncate(-2.9), -2);
    EXPECT_EQ(truncate(-0.5), 0);
    EXPECT_EQ(truncate(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncate(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(truncate(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PtInRect, RightAndBottomAreExclusive) {
    const Rect r{90, 40, 110, 60};
    EXPECT_TRUE(ptInRect(r, {90, 40}));
    EXPECT_TRUE(ptInRect(r, {109, 59}));
    EXPECT_FALSE(ptInRect(r, {110, 50}));
    EXPECT_FALSE(ptInRect(r, {100, 60}));
    EXPECT_FALSE(ptInRect(r, {89, 50}));
    EXPECT_FALSE(ptInRect(Rect{}, {0, 0}));
}

}  // namespace
}  // namespace kolvane
