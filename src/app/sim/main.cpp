// kolvane-sim: replays a script of ticks and keys through the game without a
// window, writing a trace of the world and PNG frames.
#include <cstdio>
#include <iostream>

#include "app/sim/runner.h"

int main(int argc, char** argv) {
    const int code = kolvane::sim::simMain(argc, argv, std::cin, stdout, stderr);
    if (std::fflush(stdout) != 0 && code == kolvane::sim::kExitOk) {
        std::perror("kolvane-sim: standard output");
        return kolvane::sim::kExitOutputError;
    }
    return code;
}
