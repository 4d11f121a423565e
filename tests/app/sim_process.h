#pragma once
// Runs the real kolvane-sim binary in a scratch directory of the build tree
// and reads back what it left there.
#include <gtest/gtest.h>
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

namespace fs = std::filesystem;

// A fresh directory named after the running test.
inline fs::path scratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::path(KOLVANE_BINARY_DIR) / "app-tests" /
                   (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

inline std::string quoted(const std::string& s) {
    std::string out = "'";
    for (const char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

inline void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

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

// The names of the files left in dir, sorted.
inline std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kolvane::sim::testing
