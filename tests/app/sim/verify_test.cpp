// kolvane-sim and recordings: the settings lines a script starts with, which
// options on the command line override, and --verify, which agrees only with
// the results the recording's games really reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/png.h"
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

const std::string kHeader =
    "# Kolvane 0.2 recording: kolvane --replay FILE watches it, kolvane-sim --verify FILE checks "
    "it\n# recorded 2025-12-06T05:46:40Z in the SDL window on Linux\n";
const std::string kStart = "clock 1765000000\nseed 1\nsize 740x580\n";

// A recording from anyone writes no file, whether it is verified or run: a
// shot in it is a mistake. A script's shot writes a plain name into the
// folder --out names, replacing a link planted there instead of following it.
TEST(UntrustedFiles, WriteNothingButWhatTheUserAsked) {
    const fs::path dir = scratchDir();
    const fs::path victim = dir / "victim.txt";
    writeText(victim, "keep me");
    fs::create_directory(dir / "run");
    writeText(dir / "run" / "evil.kolvane", kHeader + kStart + "shot ../victim.txt\n" + kPlay);
    writeText(dir / "run" / "shots.kolvane", kHeader + kStart + kPlay + "shot end.png\n");
    const std::pair<const char*, const char*> refusals[] = {
        {"--verify evil.kolvane",
         "evil.kolvane:6: shot: bad file name \"../victim.txt\" (expected a plain name ending "
         "in .png, without a folder)\n"},
        {"evil.kolvane", nullptr},
        {"--verify shots.kolvane",
         "shots.kolvane:13: shot: a recording writes no file (a recording holds no shot)\n"},
        {"shots.kolvane", nullptr},
    };
    for (const auto& [args, message] : refusals) {
        const SimResult r = runSim(dir / "run", args);
        EXPECT_EQ(r.exitCode, 2) << args;
        if (message != nullptr) {
            EXPECT_EQ(r.err, message);
        }
    }
    EXPECT_EQ(runSim(dir / "run", "shots.kolvane").err,
              runSim(dir / "run", "--verify shots.kolvane").err);
    EXPECT_EQ(filesIn(dir / "run"), (std::vector<std::string>{"evil.kolvane", "shots.kolvane"}));

    fs::create_directory(dir / "out");
    writeText(dir / "run" / "s", kStart + kPlay + "shot end.png\n");
#ifndef _WIN32
    fs::create_symlink(victim, dir / "out" / "end.png");
#endif
    const SimResult run = runSim(dir / "run", "--out ../out s");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readText(victim), "keep me");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "out" / "end.png")));
    gfx::Image frame;
    std::string error;
    EXPECT_TRUE(gfx::readPng((dir / "out" / "end.png").string(), frame, error)) << error;
}

// What a file may cost is known before any tick runs: past a day of play, or
// a million key events, it is refused at the line that goes over.
TEST(UntrustedFiles, WorkIsCappedBeforeAnyTickRuns) {
    const fs::path dir = scratchDir();
    std::string ticks = kStart + "press S\n";
    for (int i = 0; i < 6; ++i) ticks += "tick 1000000\n";
    writeText(dir / "days.kolvane", ticks);
    std::string keys = kStart;
    for (int i = 0; i <= 1000000; ++i) keys += "press X\n";
    writeText(dir / "keys.kolvane", keys);
    for (const char* args : {"--verify days.kolvane", "days.kolvane"}) {
        const SimResult r = runSim(dir, args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, "days.kolvane:10: more than 5760000 ticks in all\n");
    }
    const SimResult r = runSim(dir, "--verify keys.kolvane");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "keys.kolvane:1000004: more than 1000000 key events in all\n");
}

// Exit 0 means at least one game ended and every one agrees. A recording in
// which none ended has its own exit code; a line made to look like a game
// line, but not in its exact form, is a mistake in the file.
TEST(Verify, ProvesNothingWithoutAnEndedGameOrWithALookalikeLine) {
    const fs::path dir = scratchDir();
    writeText(dir / "idle.kolvane", kHeader + kStart + "tick 500\npress S\ntick 20\n");
    const SimResult idle = runSim(dir, "--verify idle.kolvane");
    EXPECT_EQ(idle.exitCode, 4);
    EXPECT_EQ(idle.out, "");
    EXPECT_EQ(idle.err,
              "kolvane-sim: idle.kolvane: no game ended in the recording: nothing to verify\n");

    for (const char* lookalike :
         {"#  game 1: score 0, level 1, ended at tick 9",
          "# Game 1: score 0, level 1, ended at tick 9",
          "#\xC2\xA0game 1: score 0, level 1, ended at tick 9", "  # game 1: score 0", "#\tGAME 1",
          "# game 1: score 0, level 1, ended at tick 9 ", "# game"}) {
        writeText(dir / "bent.kolvane", kHeader + kStart + "tick 5\n" + lookalike + "\ntick 5\n");
        const SimResult bent = runSim(dir, "--verify bent.kolvane");
        EXPECT_EQ(bent.exitCode, 2) << lookalike;
        EXPECT_EQ(bent.err, "bent.kolvane:7: bad game line\n") << lookalike;
    }
    writeText(dir / "notes.kolvane",
              kHeader + kStart + "# gameplay notes\n# games: none\ntick 5\n");
    EXPECT_EQ(runSim(dir, "--verify notes.kolvane").exitCode, 4)
        << "comments that are no game line";
}

}  // namespace
}  // namespace kolvane::sim
