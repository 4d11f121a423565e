// kolvane-pacing: the window game with a probe that logs its timing
// (bench/pacing.sh). Usage: kolvane-pacing [LOGFILE]
#include <SDL.h>

#include "app/sdl/window_game.h"
#include "app/window_options.h"
#include "bench/pacing_log.h"

int main(int argc, char* argv[]) {
    kolvane::bench::PacingLog log(argc > 1 ? argv[1] : "kolvane-pacing.log");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    const int code = kolvane::sdl::runWindowGame(kolvane::WindowOptions{}, &log);
    log.end();
    SDL_Quit();
    return code;
}
