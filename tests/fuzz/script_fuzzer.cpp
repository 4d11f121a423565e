// The libFuzzer entry: any broken invariant stops the fuzzer like a crash, and
// the sanitizers report the rest.
#include <cstdio>
#include <string>

#include "fuzz/script_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    if (!kolvane::fuzz::playScriptInput(data, size, problem)) {
        std::fprintf(stderr, "kolvane fuzz: %s\n", problem.c_str());
        __builtin_trap();
    }
    return 0;
}
