// A client area of no pixels (a minimised window) or of one pixel, wide or
// high: ten thousand ticks of play go by without a crash, a hang, a division
// by zero or a counter out of its range, and every frame has the client's size.
// Under the sanitizer build this also proves no undefined behaviour.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/sim/runner.h"
#include "game/game_world.h"
#include "soak/invariants.h"
#include "soak/script_generator.h"

namespace kolvane::soak {
namespace {

struct Size {
    std::int32_t width;
    std::int32_t height;
};

void PrintTo(const Size& s, std::ostream* os) {
    *os << s.width << 'x' << s.height;
}

class TinyClient : public ::testing::TestWithParam<Size> {};

TEST_P(TinyClient, SurvivesTenThousandTicksOfPlay) {
    const Size size = GetParam();
    sim::Options options;
    options.width = size.width;
    options.height = size.height;
    sim::Runner runner(options, nullptr);
    runner.start();
    // A field with no room to fold into lets things drift off; where there is
    // at least one pixel, everything stays inside it.
    const bool folds = size.width > 0 && size.height > 0;
    ScriptGenerator script(Style::kPlay, 77);
    std::int64_t ticks = 0;
    int games = 0;
    std::string problem;
    while (ticks < 10000) {
        const Step step = script.next(static_cast<std::int32_t>(10000 - ticks));
        if (step.kind == CommandKind::kPress && step.key == vk::kS &&
            !runner.world().game.running) {
            ++games;
        }
        runner.play(step.command(), [&] {
            ++ticks;
            EXPECT_TRUE(checkCounters(runner.world(), problem)) << ticks << ": " << problem;
            if (folds) {
                EXPECT_TRUE(checkPlaces(runner.world(), runner.client(), problem))
                    << ticks << ": " << problem;
            }
            EXPECT_EQ(runner.frame().width(), size.width);
            EXPECT_EQ(runner.frame().height(), size.height);
            return !::testing::Test::HasFailure();
        });
        ASSERT_FALSE(::testing::Test::HasFailure());
    }
    EXPECT_FALSE(runner.quitRequested());
    EXPECT_GT(games, 0) << "a game was played";
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyClient,
                         ::testing::Values(Size{0, 0}, Size{1, 1}, Size{0, 580}, Size{740, 0},
                                           Size{1, 580}, Size{740, 1}, Size{2, 3}));

}  // namespace
}  // namespace kolvane::soak
