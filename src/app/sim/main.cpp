// kolvane-sim: replays a script of ticks and keys through the game without a
// window, writing a trace of the world and PNG frames.
#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/sim/runner.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // A trace on standard output has the same bytes as on Linux: no CR added.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const int code = kolvane::sim::simMain(argc, argv, std::cin, stdout, stderr);
    if (std::fflush(stdout) != 0 && code == kolvane::sim::kExitOk) {
        std::perror("kolvane-sim: standard output");
        return kolvane::sim::kExitFileError;
    }
    return code;
}
