// The soak: over a million ticks of generated play and two hundred thousand
// of chaos, over several seeds, clocks and client sizes, with every invariant
// checked after every tick. The full share runs in the sanitizer build; other
// builds run a short share. KOLVANE_SOAK_SCALE (a factor on the full share)
// overrides either, as `make soak` does for its long run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

#include "soak/soak_run.h"

#if defined(__SANITIZE_ADDRESS__)
#define KOLVANE_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOLVANE_SOAK_SANITIZED 1
#endif
#endif

namespace kolvane::soak {
namespace {

#ifdef KOLVANE_SOAK_SANITIZED
constexpr double kDefaultScale = 1.0;
#else
constexpr double kDefaultScale = 0.05;
#endif

double soakScale() {
    const char* text = std::getenv("KOLVANE_SOAK_SCALE");
    if (text == nullptr || *text == '\0') return kDefaultScale;
    char* end = nullptr;
    const double scale = std::strtod(text, &end);
    return (*end == '\0' && scale > 0.0) ? scale : kDefaultScale;
}

struct NamedCase {
    const char* name;
    SoakCase soak;  // ticks: this case's part of the full share
};

// Play: 8 x 125,000 = 1,000,000 ticks. Chaos: 4 x 50,000 = 200,000 ticks.
constexpr std::int64_t kPlayTicks = 125000;
constexpr std::int64_t kChaosTicks = 50000;

const NamedCase kCases[] = {
    {"Play740x580", {Style::kPlay, 1, 740, 580, 1000000000, 1, kPlayTicks}},
    {"Play740x580Late", {Style::kPlay, 2, 740, 580, 1700000000, 2, kPlayTicks}},
    {"Play512x384Epoch", {Style::kPlay, 3, 512, 384, 0, 3, kPlayTicks}},
    // This clock passes the 32-bit wrap a few thousand ticks in.
    {"Play320x240ClockWraps", {Style::kPlay, 4, 320, 240, 2147483000, 4, kPlayTicks}},
    {"Play400x300", {Style::kPlay, 5, 400, 300, 1234567890, 5, kPlayTicks}},
    {"Play200x150", {Style::kPlay, 6, 200, 150, 1000000000, 6, kPlayTicks}},
    {"Play371x289", {Style::kPlay, 7, 371, 289, 999999999, 7, kPlayTicks}},
    {"Play97x61", {Style::kPlay, 8, 97, 61, 1000000000, 8, kPlayTicks}},
    {"Chaos740x580", {Style::kChaos, 11, 740, 580, 1000000000, 11, kChaosTicks}},
    {"Chaos320x240", {Style::kChaos, 12, 320, 240, 1500000000, 12, kChaosTicks}},
    {"Chaos33x17", {Style::kChaos, 13, 33, 17, 1000000000, 13, kChaosTicks}},
    {"Chaos1x1", {Style::kChaos, 14, 1, 1, 1000000000, 14, kChaosTicks}},
};

void PrintTo(const NamedCase& c, std::ostream* os) {
    *os << c.name;
}

class Soak : public ::testing::TestWithParam<NamedCase> {};

TEST_P(Soak, InvariantsHoldAfterEveryTick) {
    SoakCase soak = GetParam().soak;
    soak.ticks = std::max<std::int64_t>(1000, static_cast<std::int64_t>(soak.ticks * soakScale()));
    const SoakReport report = runSoak(soak);
    ASSERT_TRUE(report.ok) << report.problem << "\nreplay: " << replayCommand(soak);
    EXPECT_EQ(report.ticks, soak.ticks);
    std::printf("%s: %s\n", GetParam().name, describe(report).c_str());
}

INSTANTIATE_TEST_SUITE_P(Generated, Soak, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace kolvane::soak
