// kolvane-pacing: the window game with a probe that logs its timing
// (bench/pacing.sh). Usage: kolvane-pacing [LOGFILE [OPTION]...], with the
// options of kolvane (--scale 3, for one).
#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/front_end/window_program.h"
#include "app/sdl/window_game.h"
#include "app/settings/window_options.h"
#include "bench/pacing_log.h"

int main(int argc, char* argv[]) {
    kolvane::bench::PacingLog log(argc > 1 ? argv[1] : "kolvane-pacing.log");
    kolvane::WindowLaunch launch;
    std::string error;
    // The options after the log file, as if they were kolvane's own.
    if (argc > 2 && !kolvane::parseWindowOptions(argc - 1, argv + 1, launch.options, error)) {
        std::fprintf(stderr, "kolvane-pacing: %s\n", error.c_str());
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    const int code = kolvane::sdl::runWindowGame(launch, &log);
    log.end();
    SDL_Quit();
    return code;
}
