// The libFuzzer entry for the leaderboard's submission path.
#include <cstdio>
#include <string>

#include "fuzz/submission_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    if (!kolvane::fuzz::submitInput(data, size, problem)) {
        std::fprintf(stderr, "kolvane fuzz: %s\n", problem.c_str());
        __builtin_trap();
    }
    return 0;
}
