// kolvane-sim and recordings: the settings lines a script starts with, which
// options on the command line override, and --verify, which agrees only with
// the results the recording's games really reach.
#include <gtest/gtest.h>

#include <string>

#include "support/sim_process.h"

namespace kolvane::sim {
namespace {

using namespace kolvane::sim::testing;

// Thrusting while turning, a game is lost within a few hundred ticks.
const std::string kPlay = "tick 5\npress S\ndown UP\ndown LEFT\ntick 3000\nup UP\nup LEFT\n";

TEST(ScriptSettings, StandInForOptionsThatTheCommandLineOverrides) {
    const fs::path dir = scratchDir();
    writeText(dir / "plain.script", "press S\ntick 40\n");
    writeText(dir / "set.script",
              "# a run\nclock 1765000000\nSEED 77\nsize 320x200\n\npress S\ntick 40\n");
    ASSERT_EQ(
        runSim(dir, "--clock 1765000000 --seed 77 --size 320x200 --trace a.jsonl plain.script")
            .exitCode,
        0);
    ASSERT_EQ(runSim(dir, "--trace b.jsonl set.script").exitCode, 0);
    EXPECT_EQ(readText(dir / "a.jsonl"), readText(dir / "b.jsonl"));

    ASSERT_EQ(runSim(dir, "--clock 5 --seed 6 --size 64x48 --trace c.jsonl plain.script").exitCode,
              0);
    ASSERT_EQ(runSim(dir, "--seed 6 --trace d.jsonl --clock 5 --size 64x48 set.script").exitCode,
              0);
    EXPECT_EQ(readText(dir / "c.jsonl"), readText(dir / "d.jsonl"));
}

TEST(Verify, AgreesWithWhatTheGamesReach) {
    const fs::path dir = scratchDir();
    const std::string start = "clock 1765000000\nseed 1\nsize 740x580\n";
    writeText(dir / "unclaimed.kolvane", start + kPlay + kPlay);
    const SimResult replayed = runSim(dir, "--verify unclaimed.kolvane");
    EXPECT_EQ(replayed.exitCode, 3) << "the file claims no game";
    // The results the replay reached, as the file's game lines.
    std::string claims;
    std::string recording = start + kPlay;
    for (std::size_t at = 0, n = 0; (at = replayed.out.find("game ", at)) != std::string::npos;
         ++n) {
        const std::string line = replayed.out.substr(at, replayed.out.find(" (", at) - at);
        recording += "# " + line + "\n" + (n == 0 ? kPlay : "");
        claims += line + " (agrees)\n";
        at += line.size();
    }
    ASSERT_EQ(claims.find("game 2"), claims.rfind("game ")) << replayed.out;
    writeText(dir / "honest.kolvane", recording);
    const SimResult honest = runSim(dir, "--verify honest.kolvane");
    EXPECT_EQ(honest.exitCode, 0) << honest.err;
    EXPECT_EQ(honest.out, claims + "verified: 2 games, every one as the recording says\n");
    EXPECT_EQ(honest.err, "");

    // A better score written in, or a key changed, and it no longer verifies.
    std::string better = recording;
    better.replace(better.find("score ") + 6, 0, "1");
    writeText(dir / "better.kolvane", better);
    const SimResult tampered = runSim(dir, "--verify better.kolvane");
    EXPECT_EQ(tampered.exitCode, 3);
    EXPECT_NE(tampered.out.find("(the recording says game 1: score 1"), std::string::npos)
        << tampered.out;
    EXPECT_EQ(tampered.err, "kolvane-sim: better.kolvane does not verify: 1 of 2 games disagree\n");
    std::string otherKeys = recording;
    otherKeys.replace(otherKeys.find("down LEFT"), 9, "down RIGHT");
    writeText(dir / "keys.kolvane", otherKeys);
    EXPECT_EQ(runSim(dir, "--verify keys.kolvane").exitCode, 3);
    EXPECT_EQ(runSim(dir, "--verify honest.kolvane --seed 2").exitCode, 3) << "options still win";
}

TEST(Verify, RefusesWhatIsNoRecording) {
    const fs::path dir = scratchDir();
    writeText(dir / "plain.script", kPlay);
    writeText(dir / "bad-line.kolvane",
              "clock 1\nseed 1\nsize 64x48\ntick 2\n# game 1: score lots\n");
    writeText(dir / "late.kolvane", "tick 2\nclock 1\n");
    const SimResult plain = runSim(dir, "--verify plain.script");
    EXPECT_EQ(plain.exitCode, 2);
    EXPECT_EQ(plain.err,
              "plain.script: not a recording (it lacks its clock, seed and size lines)\n");
    EXPECT_EQ(runSim(dir, "--verify bad-line.kolvane").err, "bad-line.kolvane:5: bad game line\n");
    EXPECT_EQ(runSim(dir, "--verify late.kolvane").err,
              "late.kolvane:2: clock: a settings line must come before the first command\n");
    EXPECT_EQ(runSim(dir, "--verify missing.kolvane").exitCode, 1);
    EXPECT_EQ(runSim(dir, "--verify plain.script --trace t.jsonl").exitCode, 2);
    EXPECT_EQ(runSim(dir, "--verify plain.script other.script").exitCode, 2);
}

}  // namespace
}  // namespace kolvane::sim
