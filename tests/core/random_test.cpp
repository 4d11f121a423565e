#include "core/random.h"

#include <gtest/gtest.h>

#include <array>

#include "support/fake_platform.h"
#include "support/seeded.h"

namespace kolvane {
namespace {

using testing::FakePlatform;
using testing::Seeded;

TEST(Generator, FollowsTheLinearCongruence) {
    FakePlatform clock;
    Seeded seeded(clock, 1);
    EXPECT_EQ(rand(), 41);
    EXPECT_EQ(rand(), 18467);
    EXPECT_EQ(rand(), 6334);
    srand(7);
    EXPECT_EQ(randomState(), 7u);
}

TEST(Generator, TimeComesFromTheBoundClock) {
    FakePlatform clock;
    clock.seconds = 1234;
    Seeded seeded(clock);
    EXPECT_EQ(time(), 1234);
}

TEST(RandomInt, ReseedsFromItsOwnOutputAndTheSecond) {
    FakePlatform clock;
    clock.seconds = 1000000000;
    Seeded seeded(clock, 1);
    const std::uint32_t a = 41, b = 18467, t = 1000000000;
    const std::uint32_t seed = a * b * (t * 7u);
    const std::int32_t r = randomInt(0, 9);
    srand(seed);
    std::int32_t expect;
    do {
        expect = rand() % 10;
    } while (expect > 9);
    EXPECT_EQ(r, expect);
}

TEST(RandomInt, DegenerateRangesAreConstant) {
    FakePlatform clock;
    Seeded seeded(clock, 99);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(randomInt(5, 5), 5);
        EXPECT_EQ(randomInt(0, 0), 0);
    }
}

TEST(RandomInt, CoversTheWholeRangeAndNothingElse) {
    FakePlatform clock;
    Seeded seeded(clock, 3);
    std::array<int, 12> seen{};
    for (int i = 0; i < 2000; ++i) {
        clock.seconds = 1000000000 + i / 66;  // a new second every 66 draws
        const int r = randomInt(1, 10);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 10);
        ++seen[r];
    }
    for (int v = 1; v <= 10; ++v) EXPECT_GT(seen[v], 100) << v;
}

TEST(RandomInt, SameStateAndSecondGiveTheSameDraws) {
    FakePlatform clock;
    Seeded seeded(clock, 5);
    std::array<int, 20> first{};
    for (int& v : first) v = randomInt(0, 720);
    srand(5);
    for (int v : first) EXPECT_EQ(randomInt(0, 720), v);
}

TEST(RandomInt, ArgumentsOutsideTheContractDoNotHang) {
    FakePlatform clock;
    Seeded seeded(clock);
    EXPECT_EQ(randomInt(5, 3), 5);
    EXPECT_EQ(randomInt(-4, -1), -4);
    EXPECT_EQ(randomInt(40000, 50000), 40000);
    const int r = randomInt(-5, 2);
    EXPECT_GE(r, 0);
    EXPECT_LE(r, 2);
}

}  // namespace
}  // namespace kolvane
