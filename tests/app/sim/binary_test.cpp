// The kolvane-sim program end to end: exit codes, what it leaves on disk,
// the trace's shape, frames, Escape, --size and repeatability.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/png.h"
#include "support/sim_process.h"

namespace kolvane::sim {
namespace {

using namespace kolvane::sim::testing;
using namespace std::string_literals;

// The top-level keys of a trace line, in order.
std::vector<std::string> topLevelKeys(const std::string& line) {
    std::vector<std::string> keys;
    int depth = 0;
    bool inString = false;
    std::string current;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
                if (depth == 1 && i + 1 < line.size() && line[i + 1] == ':')
                    keys.push_back(current);
            } else {
                current += c;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}

TEST(SimProgram, BadScriptNamesItsLineAndRunsNothing) {
    const fs::path dir = scratchDir();
    writeText(dir / "game.script", "tick 2\nshot early.png\npress S\ntick x\n");
    const SimResult r = runSim(dir, "--trace trace.jsonl game.script");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.rfind("game.script:4: ", 0), 0u) << r.err;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"game.script"}) << "no trace, no frame";
}

TEST(SimProgram, ScriptFromStandardInputIsCalledStdin) {
    const fs::path dir = scratchDir();
    writeText(dir / "in.txt", "tick\n\nfly away\n");
    const SimResult r = runSim(dir, "--trace t.jsonl -", (dir / "in.txt").string());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.rfind("<stdin>:3: ", 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(dir / "t.jsonl"));
}

TEST(SimProgram, MissingScriptFileIsExitOne) {
    const fs::path dir = scratchDir();
    const SimResult r = runSim(dir, "--trace t.jsonl nowhere.script");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "kolvane-sim: cannot read script \"nowhere.script\": No such file or directory\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{});
}

TEST(SimProgram, DirectoryAsScriptIsExitOne) {
    const fs::path dir = scratchDir();
    fs::create_directory(dir / "scripts");
    const SimResult r = runSim(dir, "--trace t.jsonl scripts");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kolvane-sim: cannot read script \"scripts\": it is a directory\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"scripts"});
}

// Whatever is wrong with the text, the run ends before anything is written.
TEST(SimProgram, ScriptsThatAreNotTextRunNothing) {
    const fs::path dir = scratchDir();
    const std::string cases[][2] = {
        {"tick 3\nshot a.png\ntick\0 2\n"s, "s:3: NUL byte at column 5"},
        {"tick 3\nshot a.png\n# caf\xE9\n", "s:3: invalid UTF-8 (byte 0xE9) at column 6"},
        {"tick 3\nshot a.png\n\x1B[0m\n", "s:3: control character 0x1B at column 1"},
        {"tick 3\nshot a.png\ntick 1" + std::string(3000, ' ') + "\n",
         "s:3: line too long (3006 bytes, at most 1024)"},
    };
    for (const auto& [text, message] : cases) {
        writeText(dir / "s", text);
        const SimResult r = runSim(dir, "--trace t.jsonl s");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"s"});
    }
}

#ifndef _WIN32  // the endless file
TEST(SimProgram, EndlessInputIsRefusedAsTooLarge) {
    const fs::path dir = scratchDir();
    const SimResult r = runSim(dir, "--trace t.jsonl -", "/dev/zero");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "<stdin>: script too large (more than 8388608 bytes)\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{});
}
#endif

// An empty script is a valid run: the first frame and its trace line.
TEST(SimProgram, EmptyScriptRunsTheFirstFrame) {
    const fs::path dir = scratchDir();
    writeText(dir / "empty", "");
    const SimResult r = runSim(dir, "--trace t.jsonl empty");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readLines(dir / "t.jsonl").size(), 1u);
}

TEST(SimProgram, BadOptionsPrintUsage) {
    const fs::path dir = scratchDir();
    for (const char* args :
         {"--size 10x5000", "--size -1x5", "--seed", "--bogus", "--clock soon", "a b"}) {
        const SimResult r = runSim(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: kolvane-sim"), std::string::npos) << args << r.err;
    }
}

TEST(SimProgram, UnwritableTraceIsExitOne) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick 3\nshot f.png\n");
    const SimResult r = runSim(dir, "--trace missing-dir/t.jsonl s");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("missing-dir/t.jsonl"), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"s"}) << "nothing ran";
}

TEST(SimProgram, TraceOntoADirectoryIsExitOneAndLeavesNothing) {
    const fs::path dir = scratchDir();
    fs::create_directory(dir / "out");
    writeText(dir / "s", "tick 3\n");
    const SimResult r = runSim(dir, "--trace out s");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot write trace \"out\""), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"out", "s"}));
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST(SimProgram, ShotOntoADirectoryIsExitOneAndLeavesNothing) {
    const fs::path dir = scratchDir();
    fs::create_directory(dir / "f.png");
    writeText(dir / "s", "tick 3\nshot f.png\n");
    const SimResult r = runSim(dir, "--trace t.jsonl s");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("line 2: cannot write \"f.png\""), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"f.png", "s"}));
}

#ifndef _WIN32  // the full device
TEST(SimProgram, TraceToAFullStandardOutputIsExitOne) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick 100\n");
    const std::string command = "cd " + quoted(dir.string()) + " && " + quoted(KOLVANE_SIM) +
                                " --trace - s >/dev/full 2>err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(readText(dir / "err.txt").find("standard output"), std::string::npos);
}
#endif

TEST(SimProgram, UnwritableShotIsExitOneAndLeavesNoTrace) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick 3\nshot f.png\ntick\n");
    const SimResult r = runSim(dir, "--trace t.jsonl --out missing-dir s");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kolvane-sim: cannot write shots into \"missing-dir\": not a folder\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"s"});
}

TEST(SimProgram, OneTraceLinePerPaintWithKeysInOrder) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick 2\npress S\ntick\n");
    const SimResult r = runSim(dir, "--trace t.jsonl s");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = readLines(dir / "t.jsonl");
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<std::string> keys{"tick",      "rng",     "game",   "ship",
                                        "asteroids", "saucers", "powerUp"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("{\"tick\":" + std::to_string(i) + ",", 0), 0u) << lines[i];
        EXPECT_EQ(topLevelKeys(lines[i]), keys);
    }
    EXPECT_NE(lines[2].find("\"running\":false"), std::string::npos);
    EXPECT_NE(lines[3].find("\"running\":true"), std::string::npos);
    EXPECT_NE(lines[3].find("\"message\":\"Good luck...\""), std::string::npos);
}

TEST(SimProgram, TraceToStandardOutput) {
    const fs::path dir = scratchDir();
    writeText(dir / "in.txt", "tick 5\n");
    const SimResult r = runSim(dir, "--trace -", (dir / "in.txt").string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6);
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"in.txt"});
}

TEST(SimProgram, WithoutTraceOptionNothingIsWritten) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick 5\n");
    const SimResult r = runSim(dir, "s");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"s"});
}

TEST(SimProgram, ShotWritesTheFrame) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "shot first.png\ntick 10\nshot later.png\n");
    ASSERT_EQ(runSim(dir, "s").exitCode, 0);
    gfx::Image first;
    gfx::Image later;
    std::string error;
    ASSERT_TRUE(gfx::readPng((dir / "first.png").string(), first, error)) << error;
    ASSERT_TRUE(gfx::readPng((dir / "later.png").string(), later, error)) << error;
    EXPECT_EQ(first.width, 740);
    EXPECT_EQ(first.height, 580);
    EXPECT_NE(first.pixels, later.pixels) << "the asteroids drift";
    // The star at (95, 535) is white in every frame.
    EXPECT_EQ(first.pixels[535 * 740 + 95], 0xFFFFFFu);
}

TEST(SimProgram, EscapeEndsTheRunAtOnce) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "press S\ntick 2\npress ESCAPE\ntick 5\nshot after.png\n");
    const SimResult r = runSim(dir, "--trace t.jsonl s");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readLines(dir / "t.jsonl").size(), 3u);
    EXPECT_FALSE(fs::exists(dir / "after.png"));
}

TEST(SimProgram, SizeSetsTheFrame) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "press S\ntick\nshot f.png\n");
    ASSERT_EQ(runSim(dir, "--size 400x300 --trace t.jsonl s").exitCode, 0);
    gfx::Image f;
    std::string error;
    ASSERT_TRUE(gfx::readPng((dir / "f.png").string(), f, error)) << error;
    EXPECT_EQ(f.width, 400);
    EXPECT_EQ(f.height, 300);
    // The ship starts in the middle of that field.
    EXPECT_NE(
        readLines(dir / "t.jsonl")[1].find("\"ship\":{\"active\":true,\"position\":[200,150]"),
        std::string::npos);
}

// A zero-sized client runs like any other, but a PNG can't be empty: a shot
// of it is a clear error that leaves nothing behind.
TEST(SimProgram, ZeroSizedClientRunsButCannotBeShot) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "press S\ndown LEFT\npress SPACE\ntick 2000\n");
    for (const char* size : {"0x0", "0x580", "740x0"}) {
        const SimResult r = runSim(dir, std::string("--size ") + size + " --trace t.jsonl s");
        EXPECT_EQ(r.exitCode, 0) << size << r.err;
        EXPECT_EQ(readLines(dir / "t.jsonl").size(), 2001u);
    }
    fs::remove(dir / "t.jsonl");
    writeText(dir / "s", "tick\nshot f.png\n");
    const SimResult r = runSim(dir, "--size 0x580 --trace t.jsonl s");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "kolvane-sim: line 2: cannot write \"f.png\": the frame is empty (0x580 pixels)\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"s"});
}

TEST(SimProgram, OnePixelClientShotIsAOnePixelPng) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "press S\ntick 100\nshot f.png\n");
    ASSERT_EQ(runSim(dir, "--size 1x1 s").exitCode, 0);
    gfx::Image f;
    std::string error;
    ASSERT_TRUE(gfx::readPng((dir / "f.png").string(), f, error)) << error;
    EXPECT_EQ(f.width, 1);
    EXPECT_EQ(f.height, 1);
}

TEST(SimProgram, SeedAndClockChooseTheGame) {
    const fs::path dir = scratchDir();
    writeText(dir / "s", "tick\n");
    ASSERT_EQ(runSim(dir, "--seed 1 --trace a.jsonl s").exitCode, 0);
    ASSERT_EQ(runSim(dir, "--seed 2 --trace b.jsonl s").exitCode, 0);
    ASSERT_EQ(runSim(dir, "--seed 1 --clock 7 --trace c.jsonl s").exitCode, 0);
    const std::string a = readText(dir / "a.jsonl");
    EXPECT_NE(a, readText(dir / "b.jsonl"));
    EXPECT_NE(a, readText(dir / "c.jsonl"));
}

TEST(SimProgram, ReplayIsRepeatable) {
    const fs::path dir = scratchDir();
    writeText(dir / "s",
              "press S\ntick 20\ndown LEFT\ndown UP\ntick 30\npress SPACE\npress X\ntick 40\n"
              "up LEFT\nrepeat SPACE\npress SPACE\ntick 60\nshot f.png\n");
    ASSERT_EQ(runSim(dir, "--seed 5 --trace a.jsonl s").exitCode, 0);
    fs::rename(dir / "f.png", dir / "first.png");
    ASSERT_EQ(runSim(dir, "--seed 5 --trace b.jsonl s").exitCode, 0);
    EXPECT_EQ(readText(dir / "a.jsonl"), readText(dir / "b.jsonl"));
    EXPECT_EQ(readText(dir / "first.png"), readText(dir / "f.png"));
    EXPECT_EQ(readLines(dir / "a.jsonl").size(), 151u);
}

}  // namespace
}  // namespace kolvane::sim
