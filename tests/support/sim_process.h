#pragma once
// Runs the real kolvane-sim binary in a scratch directory of the build tree
// and reads back what it left there.
#include <gtest/gtest.h>

#include "support/scratch.h"
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kolvane::sim::testing {

using namespace kolvane::testing;

struct SimResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `kolvane-sim ARGS` inside dir (ARGS already quoted as needed), with
// standard input from the file `input` when it is not empty.
inline SimResult runSim(const fs::path& dir, const std::string& args,
                        const std::string& input = "") {
    const std::string command = "cd " + quoted(dir.string()) + " && " + quoted(KOLVANE_SIM) + " " +
                                args + (input.empty() ? " </dev/null" : " <" + quoted(input)) +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    SimResult r;
#ifdef _WIN32
    r.exitCode = status;  // the program's own exit code
#else
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    r.out = readText(dir / "stdout.txt");
    r.err = readText(dir / "stderr.txt");
    fs::remove(dir / "stdout.txt");
    fs::remove(dir / "stderr.txt");
    return r;
}

}  // namespace kolvane::sim::testing
