// The soak's script generator: repeatable per seed, never Escape, every key
// and command kind in chaos, the game's keys in play, exact tick budgets, and
// a text that the runner reads back as the same commands and replays as the
// same game.
#include "soak/script_generator.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "app/session/script.h"
#include "core/platform.h"
#include "soak/soak_run.h"
#include "support/sim_process.h"

namespace kolvane::soak {
namespace {

std::vector<Step> steps(Style style, std::uint64_t seed, int count) {
    ScriptGenerator g(style, seed);
    std::vector<Step> out;
    for (int i = 0; i < count; ++i) out.push_back(g.next(1000));
    return out;
}

bool same(const Step& a, const Step& b) {
    return a.kind == b.kind && a.key == b.key &&
           (a.kind != CommandKind::kTick || a.count == b.count);
}

TEST(ScriptGenerator, SameSeedSameScriptOtherSeedOtherScript) {
    for (const Style style : {Style::kPlay, Style::kChaos}) {
        const auto a = steps(style, 42, 2000);
        const auto b = steps(style, 42, 2000);
        const auto c = steps(style, 43, 2000);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), same));
        EXPECT_FALSE(std::equal(a.begin(), a.end(), c.begin(), same));
    }
}

TEST(ScriptGenerator, ChaosSendsEveryKeyButEscapeInEveryWay) {
    std::set<int> keys;
    std::set<CommandKind> kinds;
    for (const Step& s : steps(Style::kChaos, 7, 200000)) {
        kinds.insert(s.kind);
        if (s.kind != CommandKind::kTick) keys.insert(s.key);
    }
    EXPECT_EQ(keys.size(), 255u);
    EXPECT_EQ(keys.count(vk::kEscape), 0u);
    EXPECT_EQ(*keys.begin(), 0x00);
    EXPECT_EQ(*keys.rbegin(), 0xFF);
    EXPECT_EQ(kinds.size(), 5u) << "tick, down, repeat, up and press";
}

TEST(ScriptGenerator, PlayHoldsAndReleasesArrowsAndUsesTheGameKeys) {
    std::array<bool, 256> held{};
    std::set<int> pressed;
    int repeats = 0;
    for (const Step& s : steps(Style::kPlay, 3, 100000)) {
        ASSERT_NE(s.key, vk::kEscape);
        if (s.kind == CommandKind::kDown) {
            EXPECT_FALSE(held[s.key]) << "an arrow goes down only when it is up";
            held[s.key] = true;
        }
        if (s.kind == CommandKind::kUp) {
            EXPECT_TRUE(held[s.key]) << "only a held arrow is released";
            held[s.key] = false;
        }
        if (s.kind == CommandKind::kRepeat) ++repeats;
        if (s.kind == CommandKind::kPress) pressed.insert(s.key);
    }
    EXPECT_GT(repeats, 100);
    for (const int key : {vk::kS, vk::kSpace, vk::kX, vk::kP}) {
        EXPECT_EQ(pressed.count(key), 1u) << key;
    }
}

TEST(ScriptGenerator, TickStepsKeepToTheBudget) {
    for (const Style style : {Style::kPlay, Style::kChaos}) {
        ScriptGenerator g(style, 9);
        std::int64_t done = 0;
        while (done < 12345) {
            const std::int32_t left = static_cast<std::int32_t>(12345 - done);
            const Step s = g.next(left);
            if (s.kind != CommandKind::kTick) continue;
            ASSERT_GE(s.count, 1);
            ASSERT_LE(s.count, left);
            done += s.count;
        }
        EXPECT_EQ(done, 12345);
    }
}

TEST(ScriptGenerator, TextReadsBackAsTheSameCommands) {
    for (const Style style : {Style::kPlay, Style::kChaos}) {
        const auto generated = steps(style, 5, 5000);
        std::string text;
        for (const Step& s : generated) appendLine(text, s);
        Script script;
        std::string error;
        ASSERT_TRUE(parseScript(text, "generated", script, error)) << error;
        // The reader makes one run of tick lines in a row.
        std::vector<Step> runs;
        for (const Step& s : generated) {
            if (s.kind == CommandKind::kTick && !runs.empty() &&
                runs.back().kind == CommandKind::kTick) {
                runs.back().count += s.count;
            } else {
                runs.push_back(s);
            }
        }
        ASSERT_EQ(script.commands.size(), runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const Command& c = script.commands[i];
            EXPECT_TRUE(same(runs[i], Step{c.kind, c.key, c.count})) << "command " << i + 1;
        }
    }
}

// A soak case and kolvane-scriptgen piped into kolvane-sim play the same game:
// the command a failing soak prints does replay it.
TEST(ScriptGenerator, ProgramsReplayASoakCase) {
    using namespace kolvane::sim::testing;
    const fs::path dir = scratchDir();
    const SoakCase soak{Style::kPlay, 21, 320, 240, 1500000000, 4, 3000};
    const SoakReport report = runSoak(soak);
    ASSERT_TRUE(report.ok) << report.problem;
    const std::string command = "cd " + quoted(dir.string()) + " && " + quoted(KOLVANE_SCRIPTGEN) +
                                " --style play --seed 21 --ticks 3000 | " + quoted(KOLVANE_SIM) +
                                " --size 320x240 --clock 1500000000 --seed 4 --trace t.jsonl";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto lines = readLines(dir / "t.jsonl");
    ASSERT_EQ(lines.size(), 3001u);
    EXPECT_EQ(lines.back(), report.lastTraceLine);
}

}  // namespace
}  // namespace kolvane::soak
